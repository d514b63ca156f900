// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace artwork {

// The start window's picture as a JPEG file: the game's title over a fan of
// cards, its right and bottom edges decoding to exactly the window's dark
// green, into which its light fades.
QByteArray titleJpeg();

}  // namespace artwork
