// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_writers.h"

#include <QBuffer>

#include <limits>
#include <stdexcept>

namespace artwork {
namespace {

void put16(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void put32(QByteArray& out, qint64 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

int pitch(int width, int bits) { return (width * bits + 31) / 32 * 4; }

void infoHeader(QByteArray& out, int width, int height, int bits, qint64 imageBytes, int colours)
{
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 3780);  // 96 dpi
    put32(out, 3780);
    put32(out, colours);
    put32(out, 0);
}

void fileHeader(QByteArray& out, qint64 fileBytes, int pixelOffset)
{
    out.append("BM");
    put32(out, fileBytes);
    put32(out, 0);
    put32(out, pixelOffset);
}

void palette(QByteArray& out, const Palette16& colours)
{
    for (const QColor& c : colours) {
        out.append(static_cast<char>(c.blue()));
        out.append(static_cast<char>(c.green()));
        out.append(static_cast<char>(c.red()));
        out.append('\0');
    }
}

// Rows of 4-bit palette indices, bottom-up, padded to 4 bytes.
void nibbleRows(QByteArray& out, const QImage& image, const Palette16& colours)
{
    const int rowBytes = pitch(image.width(), 4);
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < image.width(); ++x) {
            const int index = nearestIndex(colours, image.pixel(x, y));
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        out.append(row);
    }
}

}  // namespace

int nearestIndex(const Palette16& colours, QRgb colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 16; ++i) {
        const int dr = colours[i].red() - qRed(colour);
        const int dg = colours[i].green() - qGreen(colour);
        const int db = colours[i].blue() - qBlue(colour);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

QByteArray bmp24(const QImage& source, int trailing)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int rowBytes = pitch(image.width(), 24);
    const qint64 pixelBytes = qint64{rowBytes} * image.height();
    QByteArray out;
    fileHeader(out, 54 + pixelBytes + trailing, 54);
    infoHeader(out, image.width(), image.height(), 24, pixelBytes + trailing, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            row[3 * x] = static_cast<char>(qBlue(line[x]));
            row[3 * x + 1] = static_cast<char>(qGreen(line[x]));
            row[3 * x + 2] = static_cast<char>(qRed(line[x]));
        }
        out.append(row);
    }
    out.append(QByteArray(trailing, '\0'));
    return out;
}

QByteArray bmp4(const QImage& source, const Palette16& colours)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const qint64 pixelBytes = qint64{pitch(image.width(), 4)} * image.height();
    QByteArray out;
    fileHeader(out, 118 + pixelBytes, 118);
    infoHeader(out, image.width(), image.height(), 4, pixelBytes, 16);
    palette(out, colours);
    nibbleRows(out, image, colours);
    return out;
}

QByteArray ico4(const QImage& source, const Palette16& colours)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    if (image.size() != QSize(32, 32))
        throw std::invalid_argument("the icon is 32 x 32");
    constexpr int kImageBytes = 40 + 64 + 512 + 128;
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    out.append(static_cast<char>(32));
    out.append(static_cast<char>(32));
    out.append(static_cast<char>(16));
    out.append('\0');
    put16(out, 1);
    put16(out, 4);
    put32(out, kImageBytes);
    put32(out, 22);
    infoHeader(out, 32, 64, 4, 512 + 128, 0);
    palette(out, colours);
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    nibbleRows(out, opaque, colours);
    for (int y = 31; y >= 0; --y) {
        QByteArray row(4, '\0');
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

QByteArray jpegOfSize(const QImage& image, int bytes)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int quality = 100; quality >= 5; quality -= 1) {
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        rgb.save(&buffer, "JPG", quality);
        // A comment segment needs at least 4 bytes.
        if (encoded.size() > bytes || (encoded.size() != bytes && encoded.size() + 4 > bytes))
            continue;
        QByteArray filler;
        int missing = bytes - static_cast<int>(encoded.size());
        while (missing > 0) {
            int segment = std::min(missing, 65535 + 2);
            if (missing - segment > 0 && missing - segment < 4)
                segment -= 4;
            const int body = segment - 4;
            if (body < 0)
                throw std::logic_error("filler arithmetic");
            filler.append('\xFF');
            filler.append('\xFE');
            filler.append(static_cast<char>((body + 2) >> 8));
            filler.append(static_cast<char>((body + 2) & 0xFF));
            filler.append(QByteArray(body, ' '));
            missing -= segment;
        }
        // The comments go right after the SOI and JFIF APP0 segments.
        const int app0End = 2 + 2 + ((static_cast<uchar>(encoded[4]) << 8) | static_cast<uchar>(encoded[5]));
        encoded.insert(app0End, filler);
        return encoded;
    }
    throw std::runtime_error("no JPEG quality fits the size");
}

QByteArray storedValue(const QByteArray& file)
{
    QByteArray out;
    put32(out, file.size() + 8);
    out.append("\x6C\x74\x00\x00", 4);
    put32(out, file.size());
    out.append(file);
    return out;
}

}  // namespace artwork
