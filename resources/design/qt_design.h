// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_design.h"

#include <QColor>
#include <QFont>

namespace pairly {

QColor toQColor(Rgb rgb);

// "MS Sans Serif" is not on this system: it becomes the system's sans-serif
// face at the designed point size. Other faces are asked for by name, with
// sans-serif as the fallback.
QFont toQFont(const FontDesign& font);

}  // namespace pairly
