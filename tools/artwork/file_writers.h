// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <array>

namespace artwork {

using Palette16 = std::array<QColor, 16>;

// A 24-bit bottom-up BMP with a 40-byte information header and the pixel data
// at offset 54, followed by `trailing` zero bytes past the last row.
QByteArray bmp24(const QImage& image, int trailing);

// A 4-bit bottom-up BMP with a 16-entry colour table (pixel data at offset
// 118); every pixel is mapped to the nearest palette colour.
QByteArray bmp4(const QImage& image, const Palette16& palette);

// An icon file holding one 32 x 32 image at 4 bits per pixel with its AND
// mask: 766 bytes. Pixels with alpha below 128 are transparent.
QByteArray ico4(const QImage& image, const Palette16& palette);

// A baseline JFIF JPEG of exactly `bytes` bytes: the best quality that fits,
// then comment segments filling it up to the size.
QByteArray jpegOfSize(const QImage& image, int bytes);

// The stored picture value of an image file: length, magic, length, file.
QByteArray storedValue(const QByteArray& file);

int nearestIndex(const Palette16& palette, QRgb colour);

}  // namespace artwork
