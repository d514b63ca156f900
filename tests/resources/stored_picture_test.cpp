// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_bytes.h"

#include "resources/picture_set.h"
#include "resources/stored_picture.h"

#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace pairly {
namespace {

using namespace pairly::testing;

enum class Base { Bmp24, Bmp4, Jpeg, Icon };

QByteArray baseValue(Base base)
{
    const PictureSet& set = PictureSet::embedded();
    return std::array{set.storedFace(1), set.storedBack(20), set.storedFace(13), set.storedIcon()}[size_t(base)];
}

// Offsets below are into the stored value: the image file starts at 12.
constexpr qsizetype kFile = 12;
constexpr qsizetype kIconImage = kFile + 22;

using Corrupt = std::function<void(QByteArray&)>;

struct Corruption {
    const char* name;
    Base base;
    Corrupt corrupt;
    const char* reason;  // what the diagnostics say
};

Corrupt put32(qsizetype at, uint32_t value) { return [=](QByteArray& v) { setLe32(v, at, value); }; }
Corrupt put16(qsizetype at, uint16_t value) { return [=](QByteArray& v) { setLe16(v, at, value); }; }

// Keeps the first `bytes` of the image file (`bytes` < 0: drops that many from
// its end) with the lengths in front made to fit again.
Corrupt cutImage(qsizetype bytes)
{
    return [=](QByteArray& v) {
        v.truncate(bytes < 0 ? v.size() + bytes : kFile + bytes);
        setLe32(v, 0, static_cast<uint32_t>(v.size() - 4));
        setLe32(v, 8, static_cast<uint32_t>(v.size() - kFile));
    };
}

Corrupt jpegFrameSize(uint16_t width, uint16_t height)
{
    return [=](QByteArray& v) {
        QByteArray jpeg = imageFile(v);
        const qsizetype sof = jpegSegment(jpeg, 0xC0);
        setBe16(jpeg, sof + 5, height);
        setBe16(jpeg, sof + 7, width);
        v = stored(jpeg);
    };
}

// Sets one byte of the JPEG's frame header, counted from its SOF0 marker.
Corrupt jpegFrameByte(qsizetype at, uint8_t value)
{
    return [=](QByteArray& v) {
        QByteArray jpeg = imageFile(v);
        jpeg[jpegSegment(jpeg, 0xC0) + at] = static_cast<char>(value);
        v = stored(jpeg);
    };
}

const Corruption kCorruptions[] = {
    {"empty", Base::Bmp24, [](QByteArray& v) { v.clear(); }, "stored picture header truncated"},
    {"short_header", Base::Bmp24, [](QByteArray& v) { v.truncate(11); }, "stored picture header truncated"},
    {"length_not_image_plus_8", Base::Bmp24, [](QByteArray& v) { setLe32(v, 0, le32(v, 0) + 1); },
     "stored picture lengths disagree"},
    {"wrong_magic", Base::Bmp24, [](QByteArray& v) { v[5] = 0x75; }, "stored picture magic missing"},
    {"image_past_the_end", Base::Bmp24, [](QByteArray& v) { v.chop(1); }, "stored picture image past the end"},
    {"image_length_huge", Base::Bmp24, [](QByteArray& v) { setLe32(v, 8, 0xFFFFFFF0u); setLe32(v, 0, 0xFFFFFFF8u); },
     "stored picture image past the end"},
    {"unknown_signature", Base::Bmp24, [](QByteArray& v) { v[kFile] = 'X'; }, "unknown image signature"},
    {"bmp_headers_cut", Base::Bmp24, cutImage(40), "BMP headers truncated"},
    {"bmp_info_header_not_40", Base::Bmp24, put32(kFile + 14, 12), "BMP information header is not 40 bytes"},
    {"bmp_bit_depth_8", Base::Bmp24, put16(kFile + 28, 8), "BMP bit depth is neither 4 nor 24"},
    {"bmp_bit_depth_32", Base::Bmp24, put16(kFile + 28, 32), "BMP bit depth is neither 4 nor 24"},
    {"bmp_compressed", Base::Bmp4, put32(kFile + 30, 2), "BMP is compressed"},
    {"bmp_pixel_offset_past_end", Base::Bmp24, put32(kFile + 10, 0x7FFFFFF0), "BMP pixel rows past the end"},
    {"bmp_pixel_offset_inside_palette", Base::Bmp4, put32(kFile + 10, 60), "BMP pixel data overlaps its headers"},
    {"bmp_rows_wider_than_file", Base::Bmp24, put32(kFile + 18, 117), "BMP pixel rows past the end"},
    {"bmp_rows_taller_than_file", Base::Bmp4, put32(kFile + 22, 117), "BMP pixel rows past the end"},
    {"bmp_image_size_below_rows", Base::Bmp24, put32(kFile + 34, 348 * 115), "BMP image size smaller than its rows"},
    {"bmp_palette_over_16", Base::Bmp4, put32(kFile + 46, 17), "BMP palette larger than its bit depth allows"},
    {"bmp_zero_width", Base::Bmp24, put32(kFile + 18, 0), "empty picture"},
    {"bmp_height_most_negative", Base::Bmp24, put32(kFile + 22, 0x80000000u), "BMP height out of range"},
    {"bmp_30000_square", Base::Bmp24, [](QByteArray& v) { put32(kFile + 18, 30000)(v); put32(kFile + 22, 30000)(v); },
     "picture dimensions too large"},
    // Four colours, and a first pixel naming colour 9.
    {"bmp_palette_index_missing", Base::Bmp4,
     [](QByteArray& v) {
         setLe32(v, kFile + 46, 4);
         const qsizetype firstPixel = kFile + le32(v, kFile + 10);
         v[firstPixel] = static_cast<char>(0x90 | (static_cast<uint8_t>(v[firstPixel]) & 0x0F));
     }, "BMP pixel names a missing palette entry"},
    {"icon_cut_to_4_bytes", Base::Icon, cutImage(4), "icon header truncated"},
    {"icon_directory_cut", Base::Icon, cutImage(10), "icon directory past the end"},
    {"icon_offset_last_directory_byte", Base::Icon, put32(kFile + 6 + 12, 21), "icon directory points outside the file"},
    {"icon_empty_image_at_the_end", Base::Icon,
     [](QByteArray& v) { setLe32(v, kFile + 6 + 8, 0); setLe32(v, kFile + 6 + 12, uint32_t(v.size() - kFile)); },
     "icon image shorter than its header"},
    {"icon_bit_depth_2", Base::Icon, put16(kIconImage + 14, 2), "icon bit depth not supported"},
    {"icon_palette_over_16", Base::Icon, put32(kIconImage + 32, 17), "icon palette larger than its bit depth allows"},
    {"icon_no_images", Base::Icon, put16(kFile + 4, 0), "icon image count out of range"},
    {"icon_directory_past_end", Base::Icon, put16(kFile + 4, 40), "icon directory points outside the file"},
    {"icon_offset_past_end", Base::Icon, put32(kFile + 6 + 12, 5000), "icon directory points outside the file"},
    {"icon_offset_inside_directory", Base::Icon, put32(kFile + 6 + 12, 8), "icon directory points outside the file"},
    {"icon_length_past_end", Base::Icon, put32(kFile + 6 + 8, 745), "icon directory points outside the file"},
    {"icon_length_short_of_rows", Base::Icon, put32(kFile + 6 + 8, 600), "icon image shorter than its rows"},
    {"icon_entry_size_disagrees", Base::Icon, [](QByteArray& v) { v[kFile + 6] = 64; },
     "icon image disagrees with its directory entry"},
    {"icon_image_height_disagrees", Base::Icon, put32(kIconImage + 8, 32),
     "icon image disagrees with its directory entry"},
    // With two colours the rows move up by 56 bytes: the whole image now fits,
    // but its pixels name colours the palette no longer has.
    {"icon_palette_index_missing", Base::Icon,
     [](QByteArray& v) { setLe32(v, kIconImage + 32, 2); v[kIconImage + 40 + 8] = static_cast<char>(0xFF); },
     "icon pixel names a missing palette entry"},
    {"jpeg_truncated_half", Base::Jpeg, [](QByteArray& v) { cutImage((v.size() - kFile) / 2)(v); },
     "JPEG segment past the end"},
    {"jpeg_without_end_marker", Base::Jpeg, cutImage(-2), "JPEG ends inside a scan"},
    {"jpeg_only_signature", Base::Jpeg, cutImage(3), "JPEG signature truncated"},
    {"jpeg_only_start_marker", Base::Jpeg, cutImage(2), "JPEG signature truncated"},
    {"jpeg_two_components", Base::Jpeg, jpegFrameByte(9, 2), "JPEG component count not supported"},
    {"jpeg_lossless_coding", Base::Jpeg, jpegFrameByte(1, 0xC3), "JPEG coding not supported"},
    {"jpeg_cut_inside_a_length", Base::Jpeg, cutImage(5), "JPEG segment length truncated"},
    {"jpeg_cut_after_a_length", Base::Jpeg, cutImage(6), "JPEG segment past the end"},
    {"jpeg_segment_past_end", Base::Jpeg, [](QByteArray& v) { setBe16(v, kFile + 4, 0xFFF0); },
     "JPEG segment past the end"},
    {"jpeg_30000_square", Base::Jpeg, jpegFrameSize(30000, 30000), "picture dimensions too large"},
    {"jpeg_zero_height", Base::Jpeg, jpegFrameSize(116, 0), "empty picture"},
};

void PrintTo(const Corruption& c, std::ostream* os) { *os << c.name; }

class CorruptStoredPicture : public ::testing::TestWithParam<Corruption> {};

QStringList logged;

// Each corruption is applied to a value that decodes; the corrupt value must
// be refused, without a crash and without a picture, and the diagnostics
// (off unless switched on) must say why.
TEST_P(CorruptStoredPicture, IsRejectedWithItsReason)
{
    QByteArray value = baseValue(GetParam().base);
    ASSERT_NE(decodeStoredPicture(value), nullptr);
    GetParam().corrupt(value);
    QLoggingCategory::setFilterRules(QStringLiteral("pairly.pictures.warning=true"));
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { logged << message; });
    EXPECT_EQ(decodeStoredPicture(value), nullptr);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    EXPECT_EQ(logged.join(QLatin1Char('|')).toStdString(), std::string("picture rejected: ") + GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CorruptStoredPicture, ::testing::ValuesIn(kCorruptions),
                         [](const auto& info) { return std::string(info.param.name); });

// A row's padding is not pixels: garbage there is no palette index, even
// with a palette of two colours.
TEST(StoredPicture, RowPaddingIsNoPixel)
{
    QByteArray bmp(14 + 40 + 8 + 4, '\xFF');
    bmp.replace(0, 62, QByteArray(62, '\0'));
    bmp[0] = 'B';
    bmp[1] = 'M';
    setLe32(bmp, 2, uint32_t(bmp.size()));
    setLe32(bmp, 10, 62);
    setLe32(bmp, 14, 40);
    setLe32(bmp, 18, 2);  // 2 x 1 pixels, 4 bits each: one byte and three of padding
    setLe32(bmp, 22, 1);
    setLe16(bmp, 26, 1);
    setLe16(bmp, 28, 4);
    setLe32(bmp, 46, 2);  // black and white
    bmp.replace(58, 3, QByteArray(3, '\xFF'));
    bmp[62] = 0x01;
    const PictureRef picture = decodeStoredPicture(stored(bmp));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->image.pixelColor(1, 0), QColor(Qt::white));
}

// Picture 36 is 57 pixels wide: 171 bytes of pixels per row padded to 172, and
// two bytes after the last row. The pixels come from the header's offsets,
// bottom-up, whatever the padding, the extra bytes and whatever follows the
// stored value hold.
TEST(StoredPicture, Picture36ReadsRowsByTheHeaderNotTheFileLength)
{
    QByteArray file = imageFile(PictureSet::embedded().storedFace(36));
    const qsizetype pixels = le32(file, 10);
    ASSERT_EQ(pixels + 172 * 57 + 2, file.size());
    for (int row = 0; row < 57; ++row)
        file[pixels + row * 172 + 171] = static_cast<char>(0xA5);
    file[file.size() - 1] = file[file.size() - 2] = static_cast<char>(0xEE);

    for (const QByteArray& variant : {file, file.left(file.size() - 2)}) {
        const PictureRef picture = decodeStoredPicture(stored(variant) + QByteArray(100, '\x7F'));
        ASSERT_NE(picture, nullptr);
        ASSERT_EQ(picture->image.size(), QSize(57, 57));
        for (int y = 0; y < 57; ++y)
            for (int x = 0; x < 57; ++x) {
                const char* bgr = variant.constData() + pixels + (56 - y) * 172 + 3 * x;
                ASSERT_EQ(picture->image.pixel(x, y), qRgb(uint8_t(bgr[2]), uint8_t(bgr[1]), uint8_t(bgr[0])))
                    << "pixel " << x << "," << y;
            }
    }
}

// The start picture's right and bottom edges are exactly the window's dark
// green, also decoded for a 2x screen (in the decoder) and a 1.5x one (scaled
// after it), where it keeps its natural size in logical pixels.
TEST(PictureFile, TheStartPictureEndsInTheWindowColourAtEveryPixelRatio)
{
    const QString path = QStringLiteral(PAIRLY_SOURCE_DIR "/data/lumora pairly.jpg");
    const PictureRef natural = loadPictureFile(path);
    ASSERT_NE(natural, nullptr);
    // Decoded without Qt's plugin, to the same pixels as Qt's own decoder.
    EXPECT_EQ(natural->image, QImageReader(path).read().convertToFormat(QImage::Format_RGB32));
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        const PictureRef picture = loadPictureFile(path, ratio);
        ASSERT_NE(picture, nullptr);
        const QImage& image = picture->image;
        EXPECT_EQ(image.devicePixelRatio(), ratio);
        EXPECT_EQ(image.deviceIndependentSize().toSize(), natural->image.size()) << ratio;
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixelColor(x, image.height() - 1), QColor(0, 64, 0)) << ratio << " x " << x;
        for (int y = 0; y < image.height(); ++y)
            ASSERT_EQ(image.pixelColor(image.width() - 1, y), QColor(0, 64, 0)) << ratio << " y " << y;
    }
}

// A stored value is not a picture file (its length comes first); its image is.
TEST(PictureFile, MissingEmptyOrForeignFilesGiveNoPicture)
{
    QTemporaryDir dir;
    EXPECT_EQ(loadPictureFile(dir.filePath(QStringLiteral("absent.jpg"))), nullptr);
    const QByteArray face = baseValue(Base::Bmp24);
    const std::pair<QByteArray, bool> files[] = {{{}, false}, {"not a picture at all", false}, {face, false},
                                                 {imageFile(face), true}};
    for (const auto& [bytes, loads] : files) {
        QFile file(dir.filePath(QStringLiteral("picture.bmp")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_EQ(loadPictureFile(file.fileName()) != nullptr, loads) << bytes.left(20).toHex().constData();
    }
}

}  // namespace
}  // namespace pairly
