// SPDX-License-Identifier: GPL-3.0-or-later
#include "backs.h"

#include <QPainter>
#include <QPainterPath>

#include <stdexcept>

namespace artwork {
namespace {

struct Scheme {
    QColor ground;
    QColor lattice;
    QColor border;
    QColor medallion;
    QColor accent;
};

// Anything between the scheme's colours is quantised away, so the palette
// holds the scheme plus blends that keep antialiased edges smooth.
Palette16 paletteOf(const Scheme& s)
{
    auto mix = [](QColor a, QColor b) {
        return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
    };
    return {s.ground,
            s.lattice,
            s.border,
            s.medallion,
            s.accent,
            mix(s.ground, s.lattice),
            mix(s.ground, s.border),
            mix(s.ground, s.medallion),
            mix(s.ground, s.accent),
            mix(s.lattice, s.border),
            mix(s.medallion, s.accent),
            mix(s.border, s.medallion),
            s.ground.darker(140),
            s.lattice.lighter(130),
            QColor(0, 0, 0),
            QColor(255, 255, 255)};
}

Scheme schemeOf(int tableSize)
{
    switch (tableSize) {
    case 20: return {QColor(20, 40, 120), QColor(90, 150, 240), QColor(240, 200, 60), QColor(250, 250, 250),
                     QColor(200, 30, 40)};
    case 48: return {QColor(140, 15, 30), QColor(245, 225, 180), QColor(20, 20, 20), QColor(245, 225, 180),
                     QColor(30, 130, 60)};
    case 80: return {QColor(10, 110, 70), QColor(250, 250, 250), QColor(255, 140, 0), QColor(255, 220, 0),
                     QColor(20, 50, 40)};
    default: throw std::invalid_argument("no back for this table size");
    }
}

// Designed on 100 x 100 like the faces; the three differ in lattice, centre
// and colours so that a glance tells the table size apart from any face.
void paintBack(QPainter& p, int tableSize, const Scheme& s)
{
    p.fillRect(QRectF(0, 0, 100, 100), s.border);
    p.fillRect(QRectF(6, 6, 88, 88), s.ground);
    p.save();
    p.setClipRect(QRectF(6, 6, 88, 88));
    p.setPen(QPen(s.lattice, tableSize == 20 ? 2.5 : 4));
    const double step = tableSize == 20 ? 12.5 : tableSize == 48 ? 20 : 25;
    if (tableSize == 80) {
        for (double x = 6; x < 94; x += step / 2)
            p.drawLine(QPointF(x + step / 4, 6), QPointF(x + step / 4, 94));
    } else {
        for (double d = -100; d <= 200; d += step) {
            p.drawLine(QPointF(d, 0), QPointF(d + 100, 100));
            p.drawLine(QPointF(d, 100), QPointF(d + 100, 0));
        }
    }
    p.restore();
    p.setPen(QPen(s.border, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(10, 10, 80, 80));

    p.setPen(QPen(s.border, 3));
    p.setBrush(s.medallion);
    QPainterPath centre;
    if (tableSize == 20) {
        centre.addEllipse(QPointF(50, 50), 20, 20);
    } else if (tableSize == 48) {
        centre.addPolygon(QPolygonF({QPointF(50, 24), QPointF(76, 50), QPointF(50, 76), QPointF(24, 50)}));
        centre.closeSubpath();
    } else {
        centre.addRect(QRectF(30, 30, 40, 40));
    }
    p.drawPath(centre);
    p.setPen(Qt::NoPen);
    p.setBrush(s.accent);
    if (tableSize == 20) {
        p.drawEllipse(QPointF(50, 50), 9, 9);
    } else if (tableSize == 48) {
        p.drawEllipse(QPointF(50, 50), 10, 10);
    } else {
        p.drawPolygon(QPolygonF({QPointF(50, 36), QPointF(64, 50), QPointF(50, 64), QPointF(36, 50)}));
    }
}

}  // namespace

Back drawBack(int tableSize)
{
    const int side = tableSize == 20 ? 116 : tableSize == 48 ? 71 : 57;
    const Scheme scheme = schemeOf(tableSize);
    QImage image(side, side, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 100.0, side / 100.0);
    paintBack(p, tableSize, scheme);
    return {image, paletteOf(scheme)};
}

Back drawIcon()
{
    const Palette16 palette = {QColor(0, 0, 0),       QColor(128, 0, 0),     QColor(0, 128, 0),
                               QColor(128, 128, 0),   QColor(0, 0, 128),     QColor(128, 0, 128),
                               QColor(0, 128, 128),   QColor(192, 192, 192), QColor(128, 128, 128),
                               QColor(255, 0, 0),     QColor(0, 255, 0),     QColor(255, 255, 0),
                               QColor(0, 0, 255),     QColor(255, 0, 255),   QColor(0, 255, 255),
                               QColor(255, 255, 255)};
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintIcon(p);
    return {image, palette};
}

void paintIcon(QPainter& p)
{
    // Hard edges and upright cards: a 16-colour icon has no room for blends,
    // and a turned card breaks into steps at this size.
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(2, 2, 16, 24);
    p.setPen(QPen(QColor(0, 255, 255), 1));
    p.setClipRect(3, 3, 15, 23);
    for (int d = -24; d <= 24; d += 6) {
        p.drawLine(3 + d, 3, 3 + d + 22, 25);
        p.drawLine(17 - d, 3, 17 - d - 22, 25);
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(2, 2, 16, 24);
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(13, 6, 17, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    QPainterPath heart;
    heart.moveTo(21.5, 25);
    heart.cubicTo(13, 18, 15, 10, 21.5, 14);
    heart.cubicTo(28, 10, 30, 18, 21.5, 25);
    p.drawPath(heart);
}

}  // namespace artwork
