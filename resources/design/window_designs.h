// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_design.h"

namespace pairly {

// The start window as designed: each window is created from its design when
// it loads, before any of its handlers runs.
const WindowDesign& frmmainDesign();

// The game window as designed, with its menu tree.
const WindowDesign& form1Design();

}  // namespace pairly
