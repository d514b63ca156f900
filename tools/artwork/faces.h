// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace artwork {

// Face k (1..40) drawn at the given pixel size. Each face is designed on a
// square and stretched to the size, as a card stretches it back to a square.
QImage drawFace(int k, QSize size);

// What face k shows, in a word or two: the name a screen reader gives a card
// turned up on it.
QString faceName(int k);

}  // namespace artwork
