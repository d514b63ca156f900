// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace pairly {

// Gives a top-level window an outer frame equal to its screen's geometry.
// Where the window system reports the frame only once the window is mapped,
// the inner area takes the whole screen until then.
void fitToScreen(QWidget& window);

}  // namespace pairly
