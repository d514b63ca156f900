// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace pairly {

// The icon both windows carry, from the embedded picture set.
QIcon pairlyIcon();

}  // namespace pairly
