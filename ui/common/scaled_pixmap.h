// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

namespace pairly {

// The image smoothly scaled to fill a logical size on a screen of the given
// device pixel ratio. Results are shared through the pixmap cache, so the
// two cards of a pair and all the backs of a table are scaled once per size.
QPixmap scaledPixmap(const QImage& image, QSize logicalSize, qreal devicePixelRatio);

}  // namespace pairly
