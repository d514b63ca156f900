// SPDX-License-Identifier: GPL-3.0-or-later
#include "contact_sheet.h"

#include "resources/stored_picture.h"

#include <QPainter>

#include <stdexcept>

namespace artwork {

QImage contactSheet(const QList<QByteArray>& storedValues)
{
    constexpr int kColumns = 11;
    constexpr int kGap = 6;
    const int sides[] = {57, 93, 140};
    const int rows = (static_cast<int>(storedValues.size()) + kColumns - 1) / kColumns;
    int height = kGap;
    for (int side : sides)
        height += rows * (side + kGap) + 2 * kGap;
    QImage sheet(kColumns * (140 + kGap) + kGap, height, QImage::Format_RGB32);
    sheet.fill(QColor(0, 64, 0));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    int top = kGap;
    for (int side : sides) {
        for (int i = 0; i < storedValues.size(); ++i) {
            const pairly::PictureRef picture = pairly::decodeStoredPicture(storedValues[i]);
            if (!picture)
                throw std::runtime_error("the loader rejects a generated picture");
            const QRect cell(kGap + (i % kColumns) * (side + kGap), top + (i / kColumns) * (side + kGap), side, side);
            p.drawImage(cell, picture->image);
        }
        top += rows * (side + kGap) + 2 * kGap;
    }
    return sheet;
}

}  // namespace artwork
