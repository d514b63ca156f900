// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>

#include <functional>

namespace pairly {

struct JpegDecoding {
    QImage image;  // null when refused
    const char* failure = nullptr;
};

// Decodes a JPEG with libjpeg-turbo straight into a 32-bit image, without
// loading Qt's image plugin, which costs a program's start more than the
// decoding itself. `checkSize` sees the dimensions before anything is
// allocated for the pixels; a reason it returns refuses the picture.
// `scaleEighths` (1 to 16) decodes the picture scaled by that many eighths,
// smoothly and at little more than the cost of its natural size.
JpegDecoding decodeJpeg(QByteArrayView file, const std::function<const char*(qint64, qint64)>& checkSize,
                        int scaleEighths = 8);

}  // namespace pairly
