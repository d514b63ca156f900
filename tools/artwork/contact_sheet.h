// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace artwork {

// Every stored value as the program's loader decodes it, stretched smoothly
// to 57, 93 and 140 pixels, the card sides of the three tables.
QImage contactSheet(const QList<QByteArray>& storedValues);

}  // namespace artwork
