// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture.h"

#include <QByteArrayView>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcPictures)

namespace pairly {

// The largest picture the loader agrees to decode; anything that declares
// more is refused before a pixel buffer is allocated.
inline constexpr int kMaxPictureSide = 8192;
inline constexpr qint64 kMaxPicturePixels = qint64{64} * 1024 * 1024;

// Decodes one stored picture value: a 4-byte little-endian length L, the
// magic bytes 6C 74 00 00, a 4-byte little-endian length N (L = N + 8) and a
// complete BMP, JPEG or icon file of N bytes. Returns nullptr for anything
// malformed, truncated, inconsistent or too large; never throws.
PictureRef decodeStoredPicture(QByteArrayView bytes);

// Decodes a complete BMP, JPEG or icon file, its type told by its signature.
PictureRef decodeImageFile(QByteArrayView file);

// Reads and decodes a picture file from disk; nullptr when it is missing,
// unreadable or rejected. On a screen of a higher pixel ratio the picture
// comes at that many pixels per logical pixel, scaled smoothly from the
// file, with its devicePixelRatio set: drawn, it takes its natural size.
PictureRef loadPictureFile(const QString& path, qreal devicePixelRatio = 1);

}  // namespace pairly
