// SPDX-License-Identifier: GPL-3.0-or-later
#include "title.h"

#include "backs.h"
#include "faces.h"
#include "resources/jpeg_decoder.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace artwork {
namespace {

// The picture is drawn at its natural size from the window's top-left corner
// on screens from 1024 x 768 up, under window managers that take some of the
// height: everything drawn lies within the top-left 1024 x 580, above the
// labels' row (106.5/120 of the inner height: 620 pixels down on a 768-pixel
// screen with a panel and a title bar), and the light fades out before the
// picture's right and bottom edges, which are the window's own colour.
constexpr int kWidth = 1104;
constexpr int kHeight = 672;
constexpr QPointF kLight(520, 270);
constexpr double kLightWidth = 600;
constexpr double kLightHeight = 330;
const QColor kWindowGreen(0, 64, 0);
const QColor kLit(30, 120, 52);
constexpr int kQuality = 92;

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
    p.drawRoundedRect(frame.translated(6, 8), 9, 9);
    p.setBrush(Qt::white);
    p.drawRoundedRect(frame.adjusted(-6, -6, 6, 6), 10, 10);
    p.drawImage(frame, picture);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame.adjusted(-6, -6, 6, 6), 10, 10);
    p.restore();
}

// The felt under a lamp: `ground` everywhere the light does not reach, so
// that the picture's edges are the window's colour; inside, a light that
// fades with a smooth falloff, leaving no ring where it ends.
void ground(QImage& image, const QColor& ground)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double dx = (x - kLight.x()) / kLightWidth;
            const double dy = (y - kLight.y()) / kLightHeight;
            const double d2 = dx * dx + dy * dy;
            const double w = d2 >= 1 ? 0 : (1 - d2) * (1 - d2);
            const auto mix = [w](int a, int b) { return static_cast<int>(std::lround(a + w * (b - a))); };
            row[x] = qRgb(mix(ground.red(), kLit.red()), mix(ground.green(), kLit.green()),
                          mix(ground.blue(), kLit.blue()));
        }
    }
}

void title(QPainter& p)
{
    const QFont font = titleFont(104);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("Lumora Pairly"));
    const QRectF bounds = text.boundingRect();
    text.translate(kLight.x() - bounds.center().x(), 170 - bounds.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(text.translated(5, 7));
    QLinearGradient gold(0, text.boundingRect().top(), 0, text.boundingRect().bottom());
    gold.setColorAt(0, QColor(255, 245, 170));
    gold.setColorAt(0.5, QColor(255, 205, 40));
    gold.setColorAt(1, QColor(220, 140, 10));
    p.setBrush(gold);
    p.setPen(QPen(QColor(90, 50, 0), 2.5));
    p.drawPath(text);

    QFont small = titleFont(30);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(230, 240, 200));
    p.drawText(QRectF(kLight.x() - 300, 188, 600, 44), Qt::AlignCenter, QStringLiteral("find every pair"));
}

QImage draw(const QColor& groundColour)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    ground(image, groundColour);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    title(p);

    const QImage back = drawBack(20).image;
    const int fan[] = {1, 6, 14, 5, 13, 10, 20};
    const int count = static_cast<int>(std::size(fan));
    for (int i = 0; i < count; ++i) {
        const double t = i - (count - 1) / 2.0;
        card(p, drawFace(fan[i], QSize(200, 200)), QPointF(kLight.x() + t * 108, 375 + t * t * 8), 108, t * 7);
    }
    // A found pair in each lower corner, lying on its back of the 20-card table.
    for (int side : {-1, 1}) {
        const double x = kLight.x() + side * 418;
        card(p, back, QPointF(x - side * 24, 532), 74, side * 16);
        card(p, drawFace(14, QSize(200, 200)), QPointF(x + side * 14, 526), 74, side * 4);
    }
    return image;
}

QImage decode(const QByteArray& jpeg)
{
    return pairly::decodeJpeg(jpeg, [](qint64, qint64) { return nullptr; }).image;
}

// JPEG stores Y, Cb and Cr, and no Y, Cb, Cr that an encoder computes from
// red 0, green 64, blue 0 decodes back to it exactly. This one does, and it
// lies within 0.6 of the computed value; every pixel is moved by the same
// small amount, so that the ground comes out as exactly the window's colour
// and the light fades into it without a step.
constexpr double kGroundY = 37, kGroundCb = 107, kGroundCr = 101;

std::array<double, 3> ycbcr(QRgb c)
{
    const double r = qRed(c), g = qGreen(c), b = qBlue(c);
    return {0.299 * r + 0.587 * g + 0.114 * b, -0.168736 * r - 0.331264 * g + 0.5 * b + 128,
            0.5 * r - 0.418688 * g - 0.081312 * b + 128};
}

QByteArray encode(const QImage& image)
{
    const std::array<double, 3> computed = ycbcr(kWindowGreen.rgb());
    const std::array<double, 3> shift = {kGroundY - computed[0], kGroundCb - computed[1], kGroundCr - computed[2]};

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_YCbCr;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(image.width()) * 3);
    while (info.next_scanline < info.image_height) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(info.next_scanline)));
        for (int x = 0; x < image.width(); ++x) {
            const std::array<double, 3> v = ycbcr(pixels[x]);
            for (size_t k = 0; k < 3; ++k)
                row[static_cast<size_t>(x) * 3 + k] = static_cast<unsigned char>(std::clamp(std::lround(v[k] + shift[k]), 0L, 255L));
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray jpeg(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return jpeg;
}

}  // namespace

QByteArray titleJpeg()
{
    const QByteArray jpeg = encode(draw(kWindowGreen));
    // The top and left edges lie on the window's; the others must vanish.
    const QImage decoded = decode(jpeg);
    for (int x = 0; x < decoded.width(); ++x) {
        if (decoded.pixelColor(x, decoded.height() - 1) != kWindowGreen)
            throw std::runtime_error("the title picture's bottom edge is not the window's colour");
    }
    for (int y = 0; y < decoded.height(); ++y) {
        if (decoded.pixelColor(decoded.width() - 1, y) != kWindowGreen)
            throw std::runtime_error("the title picture's right edge is not the window's colour");
    }
    return jpeg;
}

}  // namespace artwork
