// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_writers.h"

#include <QImage>

class QPainter;

namespace artwork {

struct Back {
    QImage image;
    Palette16 palette;
};

// The card back of a table size (20, 48 or 80 cards) at its pixel size.
Back drawBack(int tableSize);

// The window icon: a pair of cards, 32 x 32 with a transparent surround.
Back drawIcon();

// The icon's drawing in its own 32 x 32 units, for renderings at other sizes.
void paintIcon(QPainter& p);

}  // namespace artwork
