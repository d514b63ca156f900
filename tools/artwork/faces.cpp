// SPDX-License-Identifier: GPL-3.0-or-later
#include "faces.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <array>
#include <functional>

namespace artwork {
namespace {

using Draw = void (*)(QPainter&);

const QColor kOutline(30, 20, 10);

void ground(QPainter& p, QColor colour) { p.fillRect(QRectF(0, 0, 100, 100), colour); }

void shape(QPainter& p, const QPainterPath& path, QColor fill, double outline = 2.0, QColor pen = kOutline)
{
    p.setPen(outline > 0 ? QPen(pen, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPath(path);
}

void disc(QPainter& p, QPointF centre, double r, QColor fill, double outline = 0, QColor pen = kOutline)
{
    QPainterPath path;
    path.addEllipse(centre, r, r);
    shape(p, path, fill, outline, pen);
}

void ellipse(QPainter& p, QPointF centre, double rx, double ry, QColor fill, double outline = 0,
             QColor pen = kOutline)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    shape(p, path, fill, outline, pen);
}

void line(QPainter& p, QPointF a, QPointF b, QColor colour, double width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath starPath(QPointF c, double outer, double inner, int points, double turnDegrees = -90)
{
    QPolygonF polygon;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = qDegreesToRadians(turnDegrees + i * 180.0 / points);
        const double r = i % 2 == 0 ? outer : inner;
        polygon << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

// Petals as ellipses turned around a centre.
void petals(QPainter& p, QPointF c, int count, double distance, double rx, double ry, QColor fill,
            double outline, double turn = 0)
{
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(c);
        p.rotate(turn + i * 360.0 / count);
        ellipse(p, QPointF(0, -distance), rx, ry, fill, outline);
        p.restore();
    }
}

void eye(QPainter& p, QPointF c, double r, QColor iris = QColor(20, 20, 20))
{
    disc(p, c, r, Qt::white, 1.2);
    disc(p, c + QPointF(0, r * 0.15), r * 0.55, iris);
    disc(p, c + QPointF(-r * 0.2, -r * 0.1), r * 0.18, Qt::white);
}

void sunflower(QPainter& p)
{
    ground(p, QColor(150, 215, 255));
    line(p, {50, 60}, {50, 100}, QColor(40, 130, 40), 6);
    petals(p, {50, 42}, 16, 22, 7, 14, QColor(255, 200, 0), 1.2);
    disc(p, {50, 42}, 17, QColor(110, 60, 20), 1.5);
    for (int i = 0; i < 20; ++i)
        disc(p, QPointF(50 + 10 * std::cos(i * 0.9), 42 + 10 * std::sin(i * 0.9)) * 1.0, 1.6, QColor(60, 30, 10));
}

void tulip(QPainter& p)
{
    ground(p, QColor(255, 240, 150));
    line(p, {50, 55}, {50, 98}, QColor(30, 140, 50), 5);
    QPainterPath leaf;
    leaf.moveTo(50, 95);
    leaf.cubicTo(30, 85, 22, 70, 24, 58);
    leaf.cubicTo(36, 66, 46, 78, 50, 95);
    shape(p, leaf, QColor(50, 170, 60), 1.5);
    QPainterPath cup;
    cup.moveTo(28, 18);
    cup.lineTo(39, 30);
    cup.lineTo(50, 12);
    cup.lineTo(61, 30);
    cup.lineTo(72, 18);
    cup.cubicTo(76, 42, 70, 60, 50, 62);
    cup.cubicTo(30, 60, 24, 42, 28, 18);
    shape(p, cup, QColor(225, 20, 40), 2);
    QPainterPath shine;
    shine.moveTo(36, 34);
    shine.cubicTo(36, 46, 40, 52, 46, 55);
    p.setPen(QPen(QColor(255, 130, 140), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shine);
}

void rose(QPainter& p)
{
    ground(p, QColor(25, 85, 50));
    QPainterPath leafL;
    leafL.moveTo(50, 70);
    leafL.cubicTo(30, 62, 18, 72, 12, 86);
    leafL.cubicTo(30, 90, 44, 82, 50, 70);
    shape(p, leafL, QColor(90, 190, 80), 1.5);
    QPainterPath leafR;
    leafR.moveTo(50, 70);
    leafR.cubicTo(70, 62, 82, 72, 88, 86);
    leafR.cubicTo(70, 90, 56, 82, 50, 70);
    shape(p, leafR, QColor(90, 190, 80), 1.5);
    disc(p, {50, 45}, 30, QColor(230, 40, 90), 2);
    const QColor shades[] = {QColor(205, 25, 70), QColor(240, 80, 120), QColor(190, 15, 60), QColor(250, 120, 150)};
    double r = 24;
    for (int i = 0; i < 4; ++i, r -= 5.5) {
        QPainterPath swirl;
        swirl.arcMoveTo(QRectF(50 - r, 45 - r, 2 * r, 2 * r), 30 + 80 * i);
        swirl.arcTo(QRectF(50 - r, 45 - r, 2 * r, 2 * r), 30 + 80 * i, 280);
        p.setPen(QPen(QColor(120, 0, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(shades[i]);
        p.drawPath(swirl);
    }
}

void daisy(QPainter& p)
{
    ground(p, QColor(110, 195, 70));
    petals(p, {50, 50}, 14, 24, 7, 17, Qt::white, 1.2);
    disc(p, {50, 50}, 13, QColor(255, 200, 0), 1.5);
    disc(p, {46, 46}, 4, QColor(255, 235, 120));
}

void cat(QPainter& p)
{
    ground(p, QColor(190, 165, 235));
    const QColor fur(245, 140, 30);
    shape(p, polygon({{18, 45}, {22, 8}, {45, 28}}), fur, 2);
    shape(p, polygon({{82, 45}, {78, 8}, {55, 28}}), fur, 2);
    shape(p, polygon({{24, 36}, {25, 16}, {38, 28}}), QColor(255, 180, 190), 0);
    shape(p, polygon({{76, 36}, {75, 16}, {62, 28}}), QColor(255, 180, 190), 0);
    ellipse(p, {50, 55}, 36, 32, fur, 2);
    for (double x : {34.0, 66.0})
        ellipse(p, {x, 50}, 7, 9, QColor(120, 210, 60), 1.2);
    for (double x : {34.0, 66.0})
        ellipse(p, {x, 51}, 2.2, 7, QColor(20, 20, 20));
    shape(p, polygon({{45, 62}, {55, 62}, {50, 68}}), QColor(255, 110, 150), 1);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(41, 62, 9, 9), 180 * 16, 180 * 16);
    p.drawArc(QRectF(50, 62, 9, 9), 180 * 16, 180 * 16);
    for (int i = -1; i <= 1; ++i) {
        line(p, {30, 66.0 + 3 * i}, {6, 62.0 + 6 * i}, QColor(60, 40, 20), 1.2);
        line(p, {70, 66.0 + 3 * i}, {94, 62.0 + 6 * i}, QColor(60, 40, 20), 1.2);
    }
}

void fish(QPainter& p)
{
    ground(p, QColor(20, 55, 150));
    const QColor body(255, 130, 0);
    shape(p, polygon({{70, 50}, {95, 28}, {92, 72}}), QColor(255, 190, 0), 2);
    QPainterPath fin;
    fin.moveTo(38, 32);
    fin.cubicTo(44, 14, 58, 16, 62, 32);
    shape(p, fin, QColor(255, 190, 0), 2);
    ellipse(p, {45, 50}, 32, 20, body, 2);
    for (double x : {44.0, 56.0})
        line(p, {x, 33}, {x, 67}, QColor(255, 240, 220), 4);
    eye(p, {24, 46}, 5);
    for (auto [x, y, r] : {std::tuple{18.0, 18.0, 4.0}, {12.0, 8.0, 2.5}, {26.0, 82.0, 3.0}, {78.0, 86.0, 3.5}})
        disc(p, {x, y}, r, QColor(160, 210, 255), 1, QColor(220, 240, 255));
}

void bird(QPainter& p)
{
    ground(p, QColor(200, 245, 245));
    line(p, {5, 82}, {95, 74}, QColor(110, 70, 30), 5);
    const QColor red(220, 20, 30);
    shape(p, polygon({{20, 62}, {4, 78}, {12, 80}, {28, 68}}), QColor(160, 10, 20), 1.5);
    ellipse(p, {45, 55}, 25, 19, red, 2);
    shape(p, polygon({{56, 22}, {60, 12}, {66, 24}}), red, 1.5);
    disc(p, {64, 34}, 14, red, 2);
    shape(p, polygon({{76, 32}, {92, 38}, {76, 42}}), QColor(255, 160, 0), 1.5);
    disc(p, {68, 32}, 3.2, QColor(10, 10, 10));
    disc(p, {67, 31}, 1, Qt::white);
    QPainterPath wing;
    wing.moveTo(30, 50);
    wing.cubicTo(40, 40, 58, 48, 56, 60);
    wing.cubicTo(46, 66, 34, 62, 30, 50);
    shape(p, wing, QColor(170, 10, 20), 1.5);
    line(p, {44, 72}, {42, 80}, QColor(90, 60, 20), 2);
    line(p, {52, 72}, {54, 79}, QColor(90, 60, 20), 2);
}

void butterfly(QPainter& p)
{
    ground(p, QColor(255, 205, 225));
    const QColor upper(40, 90, 230);
    const QColor lower(150, 50, 210);
    for (int side : {-1, 1}) {
        ellipse(p, {50 + side * 24.0, 34}, 22, 20, upper, 2);
        ellipse(p, {50 + side * 20.0, 68}, 16, 15, lower, 2);
        disc(p, {50 + side * 28.0, 32}, 7, QColor(255, 220, 0), 1);
        disc(p, {50 + side * 22.0, 70}, 5, Qt::white, 1);
    }
    ellipse(p, {50, 52}, 5, 28, QColor(40, 30, 30));
    disc(p, {50, 24}, 6, QColor(40, 30, 30));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
    QPainterPath antennae;
    antennae.moveTo(48, 20);
    antennae.quadTo(40, 6, 32, 6);
    antennae.moveTo(52, 20);
    antennae.quadTo(60, 6, 68, 6);
    p.drawPath(antennae);
    disc(p, {32, 6}, 2.5, QColor(40, 30, 30));
    disc(p, {68, 6}, 2.5, QColor(40, 30, 30));
}

QPainterPath spiralPath(QPointF c, double start, double end, double turns, double turnDegrees = 0)
{
    QPainterPath path;
    const int steps = 200;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double a = qDegreesToRadians(turnDegrees) + t * turns * 2 * M_PI;
        const double r = start + (end - start) * t;
        const QPointF point(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

void snail(QPainter& p)
{
    ground(p, QColor(255, 205, 140));
    line(p, {0, 86}, {100, 86}, QColor(120, 170, 60), 6);
    QPainterPath body;
    body.moveTo(10, 82);
    body.cubicTo(10, 62, 20, 56, 26, 50);
    body.lineTo(34, 76);
    body.lineTo(92, 78);
    body.cubicTo(94, 84, 90, 84, 86, 84);
    body.lineTo(14, 84);
    body.closeSubpath();
    shape(p, body, QColor(170, 175, 185), 2);
    line(p, {20, 52}, {12, 30}, QColor(90, 90, 100), 2);
    line(p, {26, 50}, {26, 28}, QColor(90, 90, 100), 2);
    disc(p, {12, 29}, 3, QColor(40, 40, 40));
    disc(p, {26, 27}, 3, QColor(40, 40, 40));
    disc(p, {60, 50}, 28, QColor(180, 100, 30), 2.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 40, 10), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(spiralPath({60, 50}, 2, 24, 2.6, 90));
}

void ladybird(QPainter& p)
{
    ground(p, QColor(250, 250, 242));
    QPainterPath leaf;
    leaf.moveTo(8, 92);
    leaf.cubicTo(10, 40, 50, 8, 94, 8);
    leaf.cubicTo(92, 60, 60, 92, 8, 92);
    shape(p, leaf, QColor(90, 190, 70), 1.5, QColor(40, 110, 30));
    line(p, {8, 92}, {80, 20}, QColor(60, 140, 50), 1.8);
    disc(p, {33, 33}, 11, QColor(20, 20, 20));
    disc(p, {29, 31}, 2.5, Qt::white);
    disc(p, {37, 29}, 2.5, Qt::white);
    disc(p, {55, 55}, 27, QColor(225, 20, 20), 2.5, QColor(20, 20, 20));
    p.save();
    p.translate(55, 55);
    p.rotate(45);
    line(p, {0, -27}, {0, 27}, QColor(20, 20, 20), 2.5);
    p.restore();
    for (auto [x, y, r] : {std::tuple{44.0, 54.0, 5.0}, {54.0, 42.0, 4.5}, {68.0, 56.0, 5.0}, {56.0, 68.0, 4.5},
                           {44.0, 68.0, 3.5}, {68.0, 42.0, 3.5}})
        disc(p, {x, y}, r, QColor(20, 20, 20));
}

void owl(QPainter& p)
{
    ground(p, QColor(70, 40, 110));
    line(p, {0, 90}, {100, 90}, QColor(120, 80, 40), 6);
    const QColor brown(160, 100, 50);
    shape(p, polygon({{22, 30}, {24, 8}, {38, 24}}), brown, 2);
    shape(p, polygon({{78, 30}, {76, 8}, {62, 24}}), brown, 2);
    ellipse(p, {50, 54}, 32, 36, brown, 2);
    ellipse(p, {50, 66}, 19, 20, QColor(235, 205, 160), 0);
    for (int row = 0; row < 3; ++row)
        for (int col = -1; col <= 1; ++col) {
            p.setPen(QPen(QColor(150, 100, 50), 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(46 + col * 9 - (row % 2) * 4.5, 56 + row * 8, 8, 6), 180 * 16, 180 * 16);
        }
    for (double x : {36.0, 64.0}) {
        disc(p, {x, 38}, 13, QColor(245, 240, 220), 1.5);
        disc(p, {x, 38}, 8, QColor(255, 180, 0));
        disc(p, {x, 38}, 4.5, QColor(10, 10, 10));
        disc(p, {x - 2, 36}, 1.5, Qt::white);
    }
    shape(p, polygon({{45, 48}, {55, 48}, {50, 58}}), QColor(255, 160, 0), 1.2);
    for (double x : {40.0, 60.0})
        shape(p, polygon({{x - 6, 92}, {x, 86}, {x + 6, 92}}), QColor(255, 160, 0), 1);
}

void frog(QPainter& p)
{
    ground(p, QColor(80, 160, 215));
    ellipse(p, {50, 84}, 46, 14, QColor(40, 120, 60), 1.5);
    const QColor green(90, 200, 50);
    ellipse(p, {50, 62}, 36, 26, green, 2);
    for (double x : {30.0, 70.0}) {
        disc(p, {x, 34}, 12, green, 2);
        eye(p, {x, 33}, 8, QColor(10, 10, 10));
    }
    p.setPen(QPen(QColor(20, 80, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(28, 44, 44, 26), 200 * 16, 140 * 16);
    disc(p, {30, 62}, 4, QColor(255, 130, 150));
    disc(p, {70, 62}, 4, QColor(255, 130, 150));
    for (double x : {22.0, 78.0})
        ellipse(p, {x, 86}, 10, 5, QColor(120, 220, 70), 1.5);
}

void star(QPainter& p)
{
    ground(p, QColor(205, 20, 40));
    shape(p, starPath({50, 53}, 44, 18, 5), QColor(255, 220, 0), 3, QColor(120, 60, 0));
    shape(p, starPath({50, 53}, 22, 9, 5), QColor(255, 245, 150), 0);
}

void heart(QPainter& p)
{
    ground(p, QColor(0, 165, 165));
    QPainterPath path;
    path.moveTo(50, 90);
    path.cubicTo(8, 62, 4, 38, 14, 24);
    path.cubicTo(26, 8, 46, 12, 50, 30);
    path.cubicTo(54, 12, 74, 8, 86, 24);
    path.cubicTo(96, 38, 92, 62, 50, 90);
    shape(p, path, QColor(235, 20, 60), 3, QColor(120, 0, 20));
    ellipse(p, {27, 32}, 6, 9, QColor(255, 150, 170));
}

void spiral(QPainter& p)
{
    ground(p, QColor(175, 0, 135));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 235, 0), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(spiralPath({50, 50}, 2, 44, 3.2));
}

void checkerboard(QPainter& p)
{
    ground(p, QColor(20, 20, 20));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            if ((x + y) % 2 == 0)
                p.fillRect(QRectF(x * 20, y * 20, 20, 20), QColor(255, 215, 0));
}

void rings(QPainter& p)
{
    ground(p, QColor(165, 165, 170));
    const QColor colours[] = {Qt::white, QColor(220, 20, 20), Qt::white, QColor(30, 60, 200), Qt::white,
                              QColor(220, 20, 20)};
    double r = 46;
    for (const QColor& c : colours) {
        disc(p, {50, 50}, r, c, r == 46 ? 2 : 0);
        r -= 8;
    }
}

void triangle(QPainter& p)
{
    ground(p, QColor(255, 140, 0));
    shape(p, polygon({{50, 8}, {94, 88}, {6, 88}}), QColor(30, 150, 40), 5, Qt::white);
    shape(p, polygon({{50, 46}, {66, 76}, {34, 76}}), QColor(255, 140, 0), 0);
}

void moon(QPainter& p)
{
    ground(p, QColor(15, 15, 60));
    QPainterPath crescent;
    crescent.addEllipse(QPointF(46, 52), 36, 36);
    QPainterPath bite;
    bite.addEllipse(QPointF(64, 42), 30, 30);
    shape(p, crescent.subtracted(bite), QColor(255, 235, 120), 0);
    for (auto [x, y, r] : {std::tuple{76.0, 78.0, 6.0}, {84.0, 16.0, 5.0}, {20.0, 14.0, 3.5}, {62.0, 90.0, 3.0}})
        shape(p, starPath({x, y}, r, r * 0.4, 4, 0), Qt::white, 0);
}

void sun(QPainter& p)
{
    ground(p, QColor(0, 120, 225));
    p.save();
    p.translate(50, 50);
    for (int i = 0; i < 12; ++i) {
        p.rotate(30);
        shape(p, polygon({{-6, -30}, {0, -48}, {6, -30}}), QColor(255, 120, 0), 0);
    }
    p.restore();
    disc(p, {50, 50}, 28, QColor(255, 210, 0), 2.5, QColor(230, 100, 0));
    eye(p, {41, 45}, 4);
    eye(p, {59, 45}, 4);
    p.setPen(QPen(QColor(180, 60, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(38, 44, 24, 20), 200 * 16, 140 * 16);
}

void tree(QPainter& p)
{
    ground(p, QColor(215, 238, 255));
    ellipse(p, {50, 100}, 70, 16, QColor(110, 190, 70));
    shape(p, polygon({{44, 90}, {46, 50}, {54, 50}, {56, 90}}), QColor(120, 70, 30), 2);
    for (auto [x, y, r] : {std::tuple{50.0, 30.0, 22.0}, {30.0, 44.0, 17.0}, {70.0, 44.0, 17.0}, {50.0, 52.0, 16.0}})
        disc(p, {x, y}, r, QColor(30, 140, 40), 2);
    for (auto [x, y] : {std::pair{40.0, 30.0}, {62.0, 40.0}, {34.0, 50.0}, {54.0, 20.0}})
        disc(p, {x, y}, 3.5, QColor(230, 30, 30));
}

void mushroom(QPainter& p)
{
    ground(p, QColor(225, 205, 165));
    ellipse(p, {50, 92}, 40, 7, QColor(100, 160, 60));
    QPainterPath stalk;
    stalk.moveTo(38, 52);
    stalk.cubicTo(36, 76, 34, 88, 36, 92);
    stalk.lineTo(64, 92);
    stalk.cubicTo(66, 88, 64, 76, 62, 52);
    stalk.closeSubpath();
    shape(p, stalk, QColor(250, 245, 230), 2);
    QPainterPath cap;
    cap.moveTo(8, 56);
    cap.cubicTo(8, 14, 92, 14, 92, 56);
    cap.cubicTo(70, 62, 30, 62, 8, 56);
    shape(p, cap, QColor(220, 25, 25), 2.5);
    for (auto [x, y, r] : {std::tuple{30.0, 40.0, 6.0}, {52.0, 28.0, 6.5}, {72.0, 42.0, 5.5}, {18.0, 52.0, 3.0},
                           {86.0, 52.0, 3.0}, {50.0, 48.0, 4.0}})
        disc(p, {x, y}, r, Qt::white);
}

void house(QPainter& p)
{
    ground(p, QColor(175, 205, 235));
    p.fillRect(QRectF(0, 86, 100, 14), QColor(80, 160, 60));
    shape(p, polygon({{18, 50}, {82, 50}, {82, 88}, {18, 88}}), QColor(255, 230, 120), 2);
    shape(p, polygon({{10, 52}, {50, 14}, {90, 52}}), QColor(200, 40, 30), 2.5);
    shape(p, polygon({{66, 30}, {66, 16}, {74, 16}, {74, 38}}), QColor(140, 80, 60), 2);
    shape(p, polygon({{43, 64}, {57, 64}, {57, 88}, {43, 88}}), QColor(140, 80, 40), 2);
    for (double x : {24.0, 64.0}) {
        shape(p, polygon({{x, 60}, {x + 12, 60}, {x + 12, 72}, {x, 72}}), QColor(120, 200, 255), 1.8);
        line(p, {x + 6, 60}, {x + 6, 72}, kOutline, 1.2);
        line(p, {x, 66}, {x + 12, 66}, kOutline, 1.2);
    }
}

void sailboat(QPainter& p)
{
    ground(p, QColor(170, 220, 255));
    disc(p, {84, 16}, 9, QColor(255, 230, 60));
    p.fillRect(QRectF(0, 72, 100, 28), QColor(0, 90, 175));
    line(p, {50, 12}, {50, 74}, QColor(90, 60, 30), 2.5);
    shape(p, polygon({{53, 12}, {84, 66}, {53, 66}}), Qt::white, 2);
    shape(p, polygon({{47, 20}, {47, 66}, {20, 66}}), QColor(255, 200, 40), 2);
    QPainterPath hull;
    hull.moveTo(14, 72);
    hull.lineTo(88, 72);
    hull.lineTo(76, 86);
    hull.lineTo(24, 86);
    hull.closeSubpath();
    shape(p, hull, QColor(210, 30, 30), 2);
    for (double x : {10.0, 40.0, 70.0}) {
        p.setPen(QPen(QColor(200, 230, 255), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(x, 90, 12, 8), 0, 180 * 16);
    }
}

void apple(QPainter& p)
{
    ground(p, QColor(225, 248, 160));
    QPainterPath body;
    body.moveTo(50, 30);
    body.cubicTo(62, 18, 94, 22, 90, 56);
    body.cubicTo(86, 84, 66, 96, 50, 88);
    body.cubicTo(34, 96, 14, 84, 10, 56);
    body.cubicTo(6, 22, 38, 18, 50, 30);
    shape(p, body, QColor(215, 20, 25), 2.5);
    line(p, {50, 30}, {54, 10}, QColor(100, 60, 20), 3.5);
    QPainterPath leaf;
    leaf.moveTo(54, 18);
    leaf.cubicTo(62, 6, 76, 6, 82, 12);
    leaf.cubicTo(74, 22, 62, 22, 54, 18);
    shape(p, leaf, QColor(60, 170, 40), 1.5);
    ellipse(p, {28, 48}, 5, 10, QColor(255, 140, 140));
}

void cherries(QPainter& p)
{
    ground(p, QColor(250, 215, 110));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 120, 30), 3, Qt::SolidLine, Qt::RoundCap));
    QPainterPath stems;
    stems.moveTo(30, 68);
    stems.quadTo(40, 30, 62, 12);
    stems.moveTo(70, 62);
    stems.quadTo(66, 34, 62, 12);
    p.drawPath(stems);
    QPainterPath leaf;
    leaf.moveTo(62, 12);
    leaf.cubicTo(72, 2, 88, 6, 92, 14);
    leaf.cubicTo(82, 22, 70, 20, 62, 12);
    shape(p, leaf, QColor(70, 170, 40), 1.5);
    disc(p, {30, 72}, 18, QColor(200, 0, 30), 2);
    disc(p, {70, 66}, 18, QColor(200, 0, 30), 2);
    disc(p, {24, 66}, 5, QColor(255, 120, 130));
    disc(p, {64, 60}, 5, QColor(255, 120, 130));
}

void key(QPainter& p)
{
    ground(p, QColor(110, 20, 35));
    const QColor gold(245, 195, 40);
    p.save();
    p.translate(50, 50);
    p.rotate(-35);
    QPainterPath shaft;
    shaft.addRect(QRectF(-12, -5, 56, 10));
    shaft.addRect(QRectF(30, 5, 6, 12));
    shaft.addRect(QRectF(40, 5, 6, 16));
    QPainterPath bow;
    bow.addEllipse(QPointF(-26, 0), 20, 20);
    QPainterPath hole;
    hole.addEllipse(QPointF(-26, 0), 9, 9);
    shape(p, shaft.united(bow).subtracted(hole), gold, 2.5, QColor(100, 60, 0));
    p.restore();
}

void anchor(QPainter& p)
{
    ground(p, Qt::white);
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRectF(0, i * 20 + 10, 100, 10), QColor(110, 180, 235));
    const QColor navy(15, 30, 90);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(navy, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(QPointF(50, 16), 8, 8);
    p.drawLine(QPointF(50, 24), QPointF(50, 86));
    p.drawLine(QPointF(32, 36), QPointF(68, 36));
    p.drawArc(QRectF(18, 40, 64, 48), 190 * 16, 160 * 16);
    shape(p, polygon({{12, 60}, {22, 70}, {26, 56}}), navy, 2, navy);
    shape(p, polygon({{88, 60}, {78, 70}, {74, 56}}), navy, 2, navy);
}

void rainbow(QPainter& p)
{
    ground(p, QColor(55, 55, 70));
    const QColor colours[] = {QColor(230, 20, 20), QColor(255, 140, 0), QColor(255, 230, 0),
                              QColor(40, 180, 40), QColor(30, 100, 230), QColor(130, 40, 200)};
    double r = 46;
    for (const QColor& c : colours) {
        QPainterPath band;
        band.moveTo(50 - r, 78);
        band.arcTo(QRectF(50 - r, 78 - r, 2 * r, 2 * r), 180, -180);
        band.closeSubpath();
        shape(p, band, c, 0);
        r -= 6;
    }
    QPainterPath inner;
    inner.moveTo(50 - r, 78);
    inner.arcTo(QRectF(50 - r, 78 - r, 2 * r, 2 * r), 180, -180);
    inner.closeSubpath();
    shape(p, inner, QColor(55, 55, 70), 0);
    for (double x : {12.0, 88.0})
        for (auto [dx, dy, rr] : {std::tuple{-6.0, 0.0, 8.0}, {4.0, -4.0, 9.0}, {10.0, 2.0, 7.0}})
            disc(p, {x + dx - 2, 80 + dy}, rr, Qt::white);
}

void duck(QPainter& p)
{
    ground(p, QColor(60, 140, 230));
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(180, 220, 255), 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(8 + i * 30, 86, 20, 8), 0, 180 * 16);
    }
    const QColor yellow(255, 215, 0);
    QPainterPath body;
    body.moveTo(14, 56);
    body.cubicTo(24, 48, 40, 56, 58, 56);
    body.cubicTo(86, 56, 90, 70, 80, 80);
    body.cubicTo(64, 92, 30, 92, 18, 78);
    body.cubicTo(10, 70, 8, 60, 14, 56);
    shape(p, body, yellow, 2);
    disc(p, {66, 38}, 17, yellow, 2);
    shape(p, polygon({{80, 38}, {96, 42}, {80, 48}}), QColor(255, 120, 0), 1.5);
    disc(p, {70, 33}, 3.5, QColor(10, 10, 10));
    disc(p, {69, 32}, 1.2, Qt::white);
    QPainterPath wing;
    wing.moveTo(34, 64);
    wing.cubicTo(44, 58, 60, 62, 62, 70);
    wing.cubicTo(52, 78, 40, 76, 34, 64);
    shape(p, wing, QColor(240, 185, 0), 1.5);
}

void honeycomb(QPainter& p)
{
    ground(p, QColor(80, 45, 15));
    const double r = 11;
    const double w = r * std::sqrt(3.0);
    for (int row = -1; row < 7; ++row)
        for (int col = -1; col < 7; ++col) {
            const QPointF c(col * w + (row % 2 != 0 ? w / 2 : 0), row * r * 1.5);
            QPolygonF hex;
            for (int i = 0; i < 6; ++i) {
                const double a = qDegreesToRadians(30.0 + 60 * i);
                hex << c + QPointF((r - 1.5) * std::cos(a), (r - 1.5) * std::sin(a));
            }
            QPainterPath path;
            path.addPolygon(hex);
            path.closeSubpath();
            shape(p, path, (row + col) % 3 == 0 ? QColor(255, 190, 20) : QColor(240, 140, 0), 0);
        }
    ellipse(p, {50, 52}, 13, 9, QColor(255, 215, 0), 2, QColor(20, 20, 20));
    for (double x : {46.0, 54.0})
        line(p, {x, 44}, {x, 60}, QColor(20, 20, 20), 3);
    ellipse(p, {46, 42}, 7, 5, QColor(230, 245, 255), 1.2, QColor(20, 20, 20));
    ellipse(p, {56, 42}, 7, 5, QColor(230, 245, 255), 1.2, QColor(20, 20, 20));
}

void turtle(QPainter& p)
{
    ground(p, QColor(240, 222, 150));
    const QColor skin(120, 180, 70);
    for (auto [x, y] : {std::pair{26.0, 34.0}, {74.0, 34.0}, {26.0, 74.0}, {74.0, 74.0}})
        ellipse(p, {x, y}, 9, 9, skin, 1.8);
    ellipse(p, {50, 16}, 10, 12, skin, 1.8);
    disc(p, {46, 13}, 1.8, QColor(10, 10, 10));
    disc(p, {54, 13}, 1.8, QColor(10, 10, 10));
    shape(p, polygon({{47, 86}, {53, 86}, {50, 96}}), skin, 1.5);
    ellipse(p, {50, 54}, 30, 34, QColor(40, 120, 50), 2.5);
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const double a = qDegreesToRadians(60.0 * i);
        hex << QPointF(50 + 11 * std::cos(a), 54 + 11 * std::sin(a));
    }
    QPainterPath centre;
    centre.addPolygon(hex);
    centre.closeSubpath();
    shape(p, centre, QColor(90, 170, 70), 1.8);
    for (int i = 0; i < 6; ++i)
        line(p, hex[i], QPointF(50, 54) + (hex[i] - QPointF(50, 54)) * 2.6, QColor(20, 70, 30), 1.8);
}

void umbrella(QPainter& p)
{
    ground(p, QColor(150, 150, 165));
    for (auto [x, y] : {std::pair{10.0, 10.0}, {28.0, 4.0}, {84.0, 8.0}, {92.0, 30.0}, {8.0, 40.0}, {20.0, 74.0},
                        {80.0, 70.0}, {90.0, 88.0}, {14.0, 92.0}})
        line(p, {x, y}, {x - 3, y + 8}, QColor(230, 240, 255), 1.8);
    const QColor colours[] = {QColor(230, 30, 30), QColor(255, 220, 0), QColor(30, 110, 230), QColor(40, 180, 60)};
    for (int i = 0; i < 4; ++i) {
        QPainterPath slice;
        slice.moveTo(50, 50);
        slice.arcTo(QRectF(10, 12, 80, 76), 180 - 45 * i, -45);
        slice.closeSubpath();
        shape(p, slice, colours[i], 2);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 40, 30), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 50), QPointF(50, 84));
    p.drawArc(QRectF(40, 78, 10, 12), 180 * 16, 180 * 16);
    line(p, {50, 10}, {50, 14}, QColor(60, 40, 30), 3);
}

void pig(QPainter& p)
{
    ground(p, QColor(150, 220, 150));
    const QColor pink(255, 165, 185);
    shape(p, polygon({{16, 36}, {18, 6}, {42, 22}}), pink, 2);
    shape(p, polygon({{84, 36}, {82, 6}, {58, 22}}), pink, 2);
    disc(p, {50, 52}, 38, pink, 2);
    ellipse(p, {50, 62}, 15, 11, QColor(245, 120, 150), 2);
    ellipse(p, {45, 62}, 2.5, 4, QColor(150, 40, 70));
    ellipse(p, {55, 62}, 2.5, 4, QColor(150, 40, 70));
    disc(p, {36, 40}, 4.5, QColor(20, 20, 20));
    disc(p, {64, 40}, 4.5, QColor(20, 20, 20));
    disc(p, {35, 39}, 1.5, Qt::white);
    disc(p, {63, 39}, 1.5, Qt::white);
    disc(p, {24, 62}, 5, QColor(255, 130, 160));
    disc(p, {76, 62}, 5, QColor(255, 130, 160));
}

void lightning(QPainter& p)
{
    ground(p, QColor(30, 30, 35));
    shape(p, polygon({{58, 4}, {22, 56}, {46, 56}, {36, 96}, {80, 40}, {54, 40}, {70, 4}}),
          QColor(255, 230, 0), 3, QColor(255, 140, 0));
}

void diamond(QPainter& p)
{
    ground(p, QColor(255, 240, 0));
    shape(p, polygon({{50, 4}, {92, 50}, {50, 96}, {8, 50}}), QColor(20, 60, 220), 4, QColor(10, 20, 80));
    shape(p, polygon({{50, 26}, {70, 50}, {50, 74}, {30, 50}}), QColor(90, 170, 255), 0);
}

void bear(QPainter& p)
{
    ground(p, QColor(70, 165, 120));
    const QColor brown(130, 80, 40);
    disc(p, {20, 22}, 14, brown, 2);
    disc(p, {80, 22}, 14, brown, 2);
    disc(p, {20, 22}, 7, QColor(220, 170, 120));
    disc(p, {80, 22}, 7, QColor(220, 170, 120));
    disc(p, {50, 54}, 38, brown, 2);
    ellipse(p, {50, 68}, 17, 13, QColor(225, 185, 140), 1.5);
    ellipse(p, {50, 61}, 7, 5, QColor(30, 20, 15));
    p.setPen(QPen(QColor(30, 20, 15), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(50, 64), QPointF(50, 72));
    p.drawArc(QRectF(40, 66, 10, 8), 180 * 16, 180 * 16);
    p.drawArc(QRectF(50, 66, 10, 8), 180 * 16, 180 * 16);
    disc(p, {36, 44}, 5, QColor(20, 15, 10));
    disc(p, {64, 44}, 5, QColor(20, 15, 10));
    disc(p, {35, 43}, 1.6, Qt::white);
    disc(p, {63, 43}, 1.6, Qt::white);
}

void snowflake(QPainter& p)
{
    ground(p, QColor(35, 105, 200));
    p.save();
    p.translate(50, 50);
    for (int i = 0; i < 6; ++i) {
        p.rotate(60);
        line(p, {0, 0}, {0, -44}, Qt::white, 5);
        for (double d : {18.0, 32.0}) {
            line(p, {0, -d}, {-10, -d - 10}, Qt::white, 4);
            line(p, {0, -d}, {10, -d - 10}, Qt::white, 4);
        }
    }
    p.restore();
    disc(p, {50, 50}, 8, QColor(170, 225, 255), 2, Qt::white);
}

void watermelon(QPainter& p)
{
    ground(p, QColor(255, 248, 215));
    QPainterPath slice;
    slice.moveTo(6, 34);
    slice.arcTo(QRectF(6, -10, 88, 88), 180, 180);
    slice.closeSubpath();
    shape(p, slice, QColor(40, 140, 40), 2);
    QPainterPath white;
    white.moveTo(11, 34);
    white.arcTo(QRectF(11, -5, 78, 78), 180, 180);
    white.closeSubpath();
    shape(p, white, QColor(235, 250, 210), 0);
    QPainterPath flesh;
    flesh.moveTo(15, 34);
    flesh.arcTo(QRectF(15, -1, 70, 70), 180, 180);
    flesh.closeSubpath();
    shape(p, flesh, QColor(245, 50, 70), 0);
    for (auto [x, y] : {std::pair{30.0, 42.0}, {42.0, 52.0}, {50.0, 40.0}, {58.0, 52.0}, {70.0, 42.0},
                        {50.0, 60.0}, {38.0, 40.0}, {62.0, 40.0}})
        ellipse(p, {x, y}, 2, 3.2, QColor(20, 20, 20));
}

void balloon(QPainter& p)
{
    ground(p, QColor(190, 228, 255));
    for (auto [x, y] : {std::pair{16.0, 80.0}, {82.0, 86.0}})
        for (auto [dx, dy, r] : {std::tuple{-6.0, 0.0, 7.0}, {3.0, -4.0, 8.0}, {10.0, 1.0, 6.0}})
            disc(p, {x + dx, y + dy}, r, Qt::white);
    line(p, {36, 62}, {42, 80}, QColor(90, 60, 30), 1.8);
    line(p, {64, 62}, {58, 80}, QColor(90, 60, 30), 1.8);
    QPainterPath envelope;
    envelope.moveTo(36, 64);
    envelope.cubicTo(4, 40, 20, 2, 50, 2);
    envelope.cubicTo(80, 2, 96, 40, 64, 64);
    envelope.closeSubpath();
    p.save();
    p.setClipPath(envelope);
    const QColor stripes[] = {QColor(230, 30, 30), QColor(255, 210, 0)};
    for (int i = 0; i < 7; ++i)
        p.fillRect(QRectF(14 + i * 10.5, 0, 10.5, 70), stripes[i % 2]);
    p.restore();
    shape(p, envelope, Qt::transparent, 2);
    shape(p, polygon({{40, 80}, {60, 80}, {58, 94}, {42, 94}}), QColor(160, 100, 40), 2);
}

// Each face with the short name a screen reader says for it.
struct Face {
    const char* name;
    Draw draw;
};

constexpr std::array<Face, 40> kFaces = {{
    {"sunflower", sunflower}, {"tulip", tulip}, {"rose", rose}, {"daisy", daisy},
    {"cat", cat}, {"fish", fish}, {"bird", bird}, {"butterfly", butterfly},
    {"snail", snail}, {"ladybird", ladybird}, {"owl", owl}, {"frog", frog},
    {"star", star}, {"heart", heart}, {"spiral", spiral}, {"checkerboard", checkerboard},
    {"rings", rings}, {"triangle", triangle}, {"moon", moon}, {"sun", sun},
    {"tree", tree}, {"mushroom", mushroom}, {"house", house}, {"sailboat", sailboat},
    {"apple", apple}, {"cherries", cherries}, {"key", key}, {"anchor", anchor},
    {"rainbow", rainbow}, {"duck", duck}, {"honeycomb", honeycomb}, {"turtle", turtle},
    {"umbrella", umbrella}, {"pig", pig}, {"lightning", lightning}, {"diamond", diamond},
    {"bear", bear}, {"snowflake", snowflake}, {"watermelon", watermelon}, {"balloon", balloon},
}};

}  // namespace

QImage drawFace(int k, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 100.0, size.height() / 100.0);
    kFaces.at(static_cast<size_t>(k - 1)).draw(p);
    return image;
}

QString faceName(int k)
{
    return QString::fromLatin1(kFaces.at(static_cast<size_t>(k - 1)).name);
}

}  // namespace artwork
