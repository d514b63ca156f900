// SPDX-License-Identifier: GPL-3.0-or-later
#include "title.h"

#include "backs.h"
#include "faces.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace artwork {
namespace {

const QColor kWindowGreen(0, 64, 0);
constexpr int kWidth = 1280;
constexpr int kHeight = 860;

QFont titleFont(int pixelSize)
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QFont font(families.isEmpty() ? QStringLiteral("DejaVu Serif") : families.first());
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

void card(QPainter& p, const QImage& picture, QPointF centre, double side, double degrees)
{
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    const QRectF frame(-side / 2, -side / 2, side, side);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(frame.translated(8, 10), 10, 10);
    p.setBrush(Qt::white);
    p.drawRoundedRect(frame.adjusted(-7, -7, 7, 7), 12, 12);
    p.drawImage(frame, picture);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame.adjusted(-7, -7, 7, 7), 12, 12);
    p.restore();
}

void ground(QPainter& p)
{
    p.fillRect(QRect(0, 0, kWidth, kHeight), kWindowGreen);
    QRadialGradient glow(QPointF(kWidth / 2.0, kHeight * 0.45), kWidth * 0.5);
    glow.setColorAt(0, QColor(30, 120, 50));
    glow.setColorAt(0.55, QColor(10, 85, 20));
    glow.setColorAt(1, kWindowGreen);
    p.fillRect(QRect(0, 0, kWidth, kHeight), glow);
}

void title(QPainter& p)
{
    const QFont font = titleFont(128);
    QPainterPath text;
    const QString words = QStringLiteral("Lumora Pairly");
    text.addText(0, 0, font, words);
    const QRectF bounds = text.boundingRect();
    text.translate(kWidth / 2.0 - bounds.center().x(), 250 - bounds.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(text.translated(6, 8));
    QLinearGradient gold(0, text.boundingRect().top(), 0, text.boundingRect().bottom());
    gold.setColorAt(0, QColor(255, 245, 170));
    gold.setColorAt(0.5, QColor(255, 205, 40));
    gold.setColorAt(1, QColor(220, 140, 10));
    p.setBrush(gold);
    p.setPen(QPen(QColor(90, 50, 0), 3));
    p.drawPath(text);

    QFont small = titleFont(34);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(230, 240, 200));
    p.drawText(QRectF(0, 270, kWidth, 50), Qt::AlignCenter, QStringLiteral("find every pair"));
}

}  // namespace

QImage drawTitle()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    ground(p);
    title(p);

    const QImage back = drawBack(20).image;
    const int fan[] = {1, 6, 14, 5, 13, 10, 20};
    const int count = static_cast<int>(std::size(fan));
    for (int i = 0; i < count; ++i) {
        const double t = i - (count - 1) / 2.0;
        const QPointF centre(kWidth / 2.0 + t * 125, 540 + t * t * 9);
        card(p, drawFace(fan[i], QSize(200, 200)), centre, 130, t * 7);
    }
    // A found pair in each lower corner, lying on its back of the 20-card table.
    for (int side : {-1, 1}) {
        const double x = kWidth / 2.0 + side * 495;
        card(p, back, QPointF(x - side * 30, 720), 96, side * 16);
        card(p, drawFace(14, QSize(200, 200)), QPointF(x + side * 20, 712), 96, side * 4);
    }
    return image;
}

}  // namespace artwork
