// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/picture.h"

#include <QColor>
#include <QImage>

#include <memory>

namespace pairly {

inline PictureRef solidPicture(QColor colour, QSize size = QSize(8, 8))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return std::make_shared<const Picture>(Picture{image});
}

}  // namespace pairly
