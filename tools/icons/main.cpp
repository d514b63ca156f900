// SPDX-License-Identifier: GPL-3.0-or-later
#include "backs.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <array>
#include <stdexcept>

namespace {

constexpr std::array kSizes = {16, 32, 48, 64, 128, 256};

// The stored picture value: 4-byte length, 4 magic bytes, 4-byte length, file.
constexpr qsizetype kStoredHeader = 12;

// At 32 pixels the theme carries the very icon of the window, pixel for pixel.
QImage windowIcon(const QString& sourceRoot)
{
    QFile file(sourceRoot + QStringLiteral("/resources/pictures/icon.bin"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the window icon");
    const QImage icon = QImage::fromData(file.readAll().mid(kStoredHeader), "ICO");
    if (icon.size() != QSize(32, 32))
        throw std::runtime_error("the window icon is not a 32 x 32 icon");
    return icon.convertToFormat(QImage::Format_ARGB32);
}

// Other sizes redraw the design smoothly. The half-unit shift puts the
// one-unit outlines where the 32-pixel drawing lays them: on the pixel to the
// right of and below each coordinate.
QImage rendering(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 32.0, side / 32.0);
    p.translate(0.5, 0.5);
    artwork::paintIcon(p);
    return image;
}

void run(const QString& sourceRoot)
{
    const QDir hicolor(sourceRoot + QStringLiteral("/packaging/icons/hicolor"));
    for (int side : kSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(side);
        if (!hicolor.mkpath(folder))
            throw std::runtime_error(("cannot create " + hicolor.filePath(folder)).toStdString());
        const QImage image = side == 32 ? windowIcon(sourceRoot) : rendering(side);
        const QString path = hicolor.filePath(folder + QStringLiteral("/pairly.png"));
        if (!image.save(path, "PNG"))
            throw std::runtime_error(("cannot write " + path).toStdString());
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: pairly_icons <source folder>\n";
        return 2;
    }
    try {
        run(args[1]);
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << e.what() << '\n';
        return 1;
    }
}
