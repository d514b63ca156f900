#include "picture_bytes.h"

#include "resources/picture_set.h"
#include "resources/stored_picture.h"

#include <QFile>
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
    switch (base) {
    case Base::Bmp24: return set.storedFace(1);
    case Base::Bmp4: return set.storedBack(20);
    case Base::Jpeg: return set.storedFace(13);
    case Base::Icon: return set.storedIcon();
    }
    return {};
}

// Offsets below are into the stored value: the image file starts at 12.
constexpr qsizetype kFile = 12;
constexpr qsizetype kIconImage = kFile + 22;

struct Corruption {
    const char* name;
    Base base;
    std::function<void(QByteArray&)> corrupt;
};

void refitLengths(QByteArray& v)
{
    setLe32(v, 0, static_cast<uint32_t>(v.size() - 4));
    setLe32(v, 8, static_cast<uint32_t>(v.size() - 12));
}

// Sets a 4-bit BMP's colour count to `entries` and its first pixel to `index`.
void paletteLies(QByteArray& v, uint32_t entries, uint8_t index)
{
    setLe32(v, kFile + 46, entries);
    const qsizetype firstPixel = kFile + le32(v, kFile + 10);
    v[firstPixel] = static_cast<char>((index << 4) | (static_cast<uint8_t>(v[firstPixel]) & 0x0F));
}

void jpegFrameSize(QByteArray& v, uint16_t width, uint16_t height)
{
    QByteArray jpeg = imageFile(v);
    const qsizetype sof = jpegSegment(jpeg, 0xC0);
    setBe16(jpeg, sof + 5, height);
    setBe16(jpeg, sof + 7, width);
    v = stored(jpeg);
}

const Corruption kCorruptions[] = {
    {"empty", Base::Bmp24, [](QByteArray& v) { v.clear(); }},
    {"short_header", Base::Bmp24, [](QByteArray& v) { v.truncate(11); }},
    {"length_not_image_plus_8", Base::Bmp24, [](QByteArray& v) { setLe32(v, 0, le32(v, 0) + 1); }},
    {"wrong_magic", Base::Bmp24, [](QByteArray& v) { v[5] = 0x75; }},
    {"image_past_the_end", Base::Bmp24, [](QByteArray& v) { v.chop(1); }},
    {"image_length_huge", Base::Bmp24,
     [](QByteArray& v) {
         setLe32(v, 8, 0xFFFFFFF0u);
         setLe32(v, 0, 0xFFFFFFF8u);
     }},
    {"unknown_signature", Base::Bmp24, [](QByteArray& v) { v[kFile] = 'X'; }},
    {"bmp_headers_cut", Base::Bmp24,
     [](QByteArray& v) {
         v.truncate(kFile + 40);
         refitLengths(v);
     }},
    {"bmp_info_header_not_40", Base::Bmp24, [](QByteArray& v) { setLe32(v, kFile + 14, 12); }},
    {"bmp_bit_depth_8", Base::Bmp24, [](QByteArray& v) { setLe16(v, kFile + 28, 8); }},
    {"bmp_bit_depth_32", Base::Bmp24, [](QByteArray& v) { setLe16(v, kFile + 28, 32); }},
    {"bmp_compressed", Base::Bmp4, [](QByteArray& v) { setLe32(v, kFile + 30, 2); }},
    {"bmp_pixel_offset_past_end", Base::Bmp24, [](QByteArray& v) { setLe32(v, kFile + 10, 0x7FFFFFF0); }},
    {"bmp_pixel_offset_inside_palette", Base::Bmp4, [](QByteArray& v) { setLe32(v, kFile + 10, 60); }},
    {"bmp_rows_wider_than_file", Base::Bmp24, [](QByteArray& v) { setLe32(v, kFile + 18, 117); }},
    {"bmp_rows_taller_than_file", Base::Bmp4, [](QByteArray& v) { setLe32(v, kFile + 22, 117); }},
    {"bmp_image_size_below_rows", Base::Bmp24, [](QByteArray& v) { setLe32(v, kFile + 34, 348 * 115); }},
    {"bmp_palette_index_missing", Base::Bmp4, [](QByteArray& v) { paletteLies(v, 4, 9); }},
    {"bmp_palette_over_16", Base::Bmp4, [](QByteArray& v) { setLe32(v, kFile + 46, 17); }},
    {"bmp_zero_width", Base::Bmp24, [](QByteArray& v) { setLe32(v, kFile + 18, 0); }},
    {"bmp_height_most_negative", Base::Bmp24, [](QByteArray& v) { setLe32(v, kFile + 22, 0x80000000u); }},
    {"bmp_30000_square", Base::Bmp24,
     [](QByteArray& v) {
         setLe32(v, kFile + 18, 30000);
         setLe32(v, kFile + 22, 30000);
     }},
    {"icon_no_images", Base::Icon, [](QByteArray& v) { setLe16(v, kFile + 4, 0); }},
    {"icon_directory_past_end", Base::Icon, [](QByteArray& v) { setLe16(v, kFile + 4, 40); }},
    {"icon_offset_past_end", Base::Icon, [](QByteArray& v) { setLe32(v, kFile + 6 + 12, 5000); }},
    {"icon_offset_inside_directory", Base::Icon, [](QByteArray& v) { setLe32(v, kFile + 6 + 12, 8); }},
    {"icon_length_past_end", Base::Icon, [](QByteArray& v) { setLe32(v, kFile + 6 + 8, 745); }},
    {"icon_length_short_of_rows", Base::Icon, [](QByteArray& v) { setLe32(v, kFile + 6 + 8, 600); }},
    {"icon_entry_size_disagrees", Base::Icon, [](QByteArray& v) { v[kFile + 6] = 64; }},
    {"icon_image_height_disagrees", Base::Icon, [](QByteArray& v) { setLe32(v, kIconImage + 8, 32); }},
    {"icon_palette_index_missing", Base::Icon,
     [](QByteArray& v) {
         setLe32(v, kIconImage + 32, 2);
         // With two colours the rows move up by 56 bytes: the whole image now
         // fits, but its pixels name colours the palette no longer has.
         v[kIconImage + 40 + 8] = static_cast<char>(0xFF);
     }},
    {"jpeg_truncated_half", Base::Jpeg,
     [](QByteArray& v) {
         v.truncate(v.size() / 2);
         refitLengths(v);
     }},
    {"jpeg_without_end_marker", Base::Jpeg,
     [](QByteArray& v) {
         v.chop(2);
         refitLengths(v);
     }},
    {"jpeg_only_signature", Base::Jpeg,
     [](QByteArray& v) {
         v.truncate(kFile + 3);
         refitLengths(v);
     }},
    {"jpeg_segment_past_end", Base::Jpeg, [](QByteArray& v) { setBe16(v, kFile + 4, 0xFFF0); }},
    {"jpeg_30000_square", Base::Jpeg, [](QByteArray& v) { jpegFrameSize(v, 30000, 30000); }},
    {"jpeg_zero_height", Base::Jpeg, [](QByteArray& v) { jpegFrameSize(v, 116, 0); }},
};

void PrintTo(const Corruption& c, std::ostream* os) { *os << c.name; }

class CorruptStoredPicture : public ::testing::TestWithParam<Corruption> {};

// Each corruption is applied to a value that decodes; the corrupt value must
// be refused, without a crash and without a picture.
TEST_P(CorruptStoredPicture, IsRejected)
{
    QByteArray value = baseValue(GetParam().base);
    ASSERT_NE(decodeStoredPicture(value), nullptr);
    GetParam().corrupt(value);
    EXPECT_EQ(decodeStoredPicture(value), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CorruptStoredPicture, ::testing::ValuesIn(kCorruptions),
                         [](const auto& info) { return std::string(info.param.name); });

// Bytes after the image file belong to whatever follows the stored value.
TEST(StoredPicture, BytesAfterTheImageAreNotPartOfIt)
{
    QByteArray value = baseValue(Base::Bmp4);
    value.append(QByteArray(100, '\x7F'));
    ASSERT_NE(decodeStoredPicture(value), nullptr);
}

// Picture 36 is 57 pixels wide: 171 bytes of pixels per row padded to 172, and
// two bytes after the last row. The pixels come from the header's offsets,
// bottom-up, whatever the padding and the extra bytes hold.
TEST(StoredPicture, Picture36ReadsRowsByTheHeaderNotTheFileLength)
{
    const QByteArray value = PictureSet::embedded().storedFace(36);
    QByteArray file = imageFile(value);
    ASSERT_EQ(file.size(), 9860);
    const qsizetype pixels = le32(file, 10);
    ASSERT_EQ(pixels, 54);
    ASSERT_EQ(pixels + 172 * 57 + 2, file.size());

    for (int row = 0; row < 57; ++row)
        file[pixels + row * 172 + 171] = static_cast<char>(0xA5);
    file[file.size() - 1] = file[file.size() - 2] = static_cast<char>(0xEE);

    for (const QByteArray& variant : {file, file.left(file.size() - 2)}) {
        const PictureRef picture = decodeStoredPicture(stored(variant));
        ASSERT_NE(picture, nullptr);
        const QImage& image = picture->image;
        ASSERT_EQ(image.size(), QSize(57, 57));
        for (int y = 0; y < 57; ++y)
            for (int x = 0; x < 57; ++x) {
                const qsizetype at = pixels + (56 - y) * 172 + 3 * x;
                const QRgb expected = qRgb(static_cast<uint8_t>(variant[at + 2]),
                                           static_cast<uint8_t>(variant[at + 1]), static_cast<uint8_t>(variant[at]));
                ASSERT_EQ(image.pixel(x, y), expected) << "pixel " << x << "," << y;
            }
    }
}

TEST(StoredPicture, RejectionsAreNotLoggedUnlessAskedFor)
{
    EXPECT_FALSE(lcPictures().isWarningEnabled());
    EXPECT_FALSE(lcPictures().isDebugEnabled());
}

TEST(PictureFile, TheStartPictureLoadsAndLeavesTheLabelRowFree)
{
    const PictureRef picture = loadPictureFile(QStringLiteral(PAIRLY_SOURCE_DIR "/data/lumora pairly.jpg"));
    ASSERT_NE(picture, nullptr);
    const QSize size = picture->image.size();
    // The labels sit at 106.5/120 of a 1024-pixel-high screen.
    EXPECT_LE(size.height(), 1024 * 106.5 / 120 - 40);
    EXPECT_LE(size.width(), 1280);
    EXPECT_GE(size.width(), 1024);
    // Its edges melt into the window's dark green (0, 64, 0).
    for (const QPoint corner : {QPoint(size.width() - 1, 0), QPoint(0, size.height() - 1),
                                QPoint(size.width() - 1, size.height() - 1)}) {
        const QColor c = picture->image.pixelColor(corner);
        EXPECT_LE(std::abs(c.red() - 0) + std::abs(c.green() - 64) + std::abs(c.blue() - 0), 6);
    }
}

TEST(PictureFile, MissingEmptyOrForeignFilesGiveNoPicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(loadPictureFile(dir.filePath(QStringLiteral("absent.jpg"))), nullptr);
    const auto writeFile = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    EXPECT_EQ(loadPictureFile(writeFile(QStringLiteral("empty.jpg"), {})), nullptr);
    EXPECT_EQ(loadPictureFile(writeFile(QStringLiteral("text.jpg"), "not a picture at all")), nullptr);
    // A stored value is not a picture file: its length comes first.
    EXPECT_EQ(loadPictureFile(writeFile(QStringLiteral("stored.bmp"), baseValue(Base::Bmp24))), nullptr);
    EXPECT_NE(loadPictureFile(writeFile(QStringLiteral("face.bmp"), imageFile(baseValue(Base::Bmp24)))), nullptr);
}

}  // namespace
}  // namespace pairly
