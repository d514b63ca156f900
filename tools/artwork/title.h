// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace artwork {

// The start window's picture: the game's title over a fan of cards, its edges
// fading into the window's dark green.
QImage drawTitle();

}  // namespace artwork
