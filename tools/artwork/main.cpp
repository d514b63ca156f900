// SPDX-License-Identifier: GPL-3.0-or-later
#include "backs.h"
#include "contact_sheet.h"
#include "faces.h"
#include "file_writers.h"
#include "title.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <array>
#include <exception>

namespace {

struct FaceFormat {
    bool jpeg;
    QSize size;
    int bytes;
};

// Format, pixel size and file length of each face Pic(1..40).
const std::array<FaceFormat, 40> kFaceFormats = {{
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {false, {116, 116}, 40424},
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {false, {116, 116}, 40424},
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {false, {116, 116}, 40424},
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {false, {116, 116}, 40424},
    {true, {116, 116}, 14829},  {true, {149, 187}, 21217},  {false, {116, 116}, 40424},
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {true, {300, 300}, 12540},
    {true, {160, 150}, 31941},  {true, {300, 256}, 18100},  {false, {116, 116}, 40424},
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {true, {116, 116}, 6722},
    {false, {116, 116}, 40424}, {true, {128, 123}, 12299},  {true, {566, 565}, 100494},
    {true, {800, 600}, 270070}, {true, {116, 116}, 9316},   {true, {300, 249}, 37370},
    {true, {200, 133}, 21274},  {false, {116, 116}, 40424}, {true, {348, 241}, 39667},
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {false, {57, 57}, 9860},
    {false, {116, 116}, 40424}, {false, {116, 116}, 40424}, {true, {99, 94}, 8506},
    {false, {116, 116}, 40424},
}};

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

// The file is written to fill exactly the listed length: rows plus the bytes
// that remain after the last row.
QByteArray faceFile(int k)
{
    const FaceFormat& f = kFaceFormats[static_cast<size_t>(k - 1)];
    const QImage image = artwork::drawFace(k, f.size);
    if (f.jpeg)
        return artwork::jpegOfSize(image, f.bytes);
    const int rows = (f.size.width() * 3 + 3) / 4 * 4 * f.size.height();
    return artwork::bmp24(image, f.bytes - 54 - rows);
}

int run(const QString& sourceRoot, const QString& sheetPath)
{
    const QDir pictures(sourceRoot + QStringLiteral("/resources/pictures"));
    QList<QByteArray> sheet;
    QString qrc = QStringLiteral("<RCC>\n  <qresource prefix=\"/pictures\">\n");
    auto store = [&](const QString& name, const QByteArray& file, bool onSheet) {
        const QByteArray value = artwork::storedValue(file);
        write(pictures.filePath(name), value);
        qrc += QStringLiteral("    <file>%1</file>\n").arg(name);
        if (onSheet)
            sheet.append(value);
    };
    QByteArray names;
    for (int k = 1; k <= 40; ++k) {
        store(QStringLiteral("face%1.bin").arg(k, 2, 10, QLatin1Char('0')), faceFile(k), true);
        names += artwork::faceName(k).toUtf8() + '\n';
    }
    for (int size : {20, 48, 80}) {
        const artwork::Back back = artwork::drawBack(size);
        store(QStringLiteral("dorso%1.bin").arg(size), artwork::bmp4(back.image, back.palette), true);
    }
    const artwork::Back icon = artwork::drawIcon();
    store(QStringLiteral("icon.bin"), artwork::ico4(icon.image, icon.palette), false);
    // Line k names face k; the stored values stay as they are.
    write(pictures.filePath(QStringLiteral("face_names.txt")), names);
    qrc += QStringLiteral("    <file>face_names.txt</file>\n");
    qrc += QStringLiteral("  </qresource>\n</RCC>\n");
    write(pictures.filePath(QStringLiteral("pictures.qrc")), qrc.toUtf8());

    write(sourceRoot + QStringLiteral("/data/lumora pairly.jpg"), artwork::titleJpeg());

    if (!artwork::contactSheet(sheet).save(sheetPath))
        throw std::runtime_error("cannot write the contact sheet");
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: pairly_artwork <source folder> [contact sheet.png]\n";
        return 2;
    }
    try {
        return run(args[1], args.size() > 2 ? args[2] : QStringLiteral("contact_sheet.png"));
    } catch (const std::exception& e) {
        QTextStream(stderr) << e.what() << '\n';
        return 1;
    }
}
