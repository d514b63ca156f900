#include "picture_bytes.h"

#include "resources/picture_set.h"
#include "resources/stored_picture.h"

#include <gtest/gtest.h>

#include <set>

namespace pairly {
namespace {

using namespace pairly::testing;

enum class Format { Bmp, Jpeg, Ico };

struct Entry {
    std::string name;
    int face;  // 1..40, or 0 for a back or the icon
    int back;  // 20, 48, 80, or 0
    Format format;
    int width;
    int height;
    int bits;
    int bytes;
};

std::vector<Entry> entries()
{
    struct Jpeg {
        int face, width, height, bytes;
    };
    const Jpeg jpegs[] = {{13, 116, 116, 14829}, {14, 149, 187, 21217}, {18, 300, 300, 12540},
                          {19, 160, 150, 31941}, {20, 300, 256, 18100}, {24, 116, 116, 6722},
                          {26, 128, 123, 12299}, {27, 566, 565, 100494}, {28, 800, 600, 270070},
                          {29, 116, 116, 9316},  {30, 300, 249, 37370}, {31, 200, 133, 21274},
                          {33, 348, 241, 39667}, {39, 99, 94, 8506}};
    std::vector<Entry> list;
    for (int k = 1; k <= 40; ++k) {
        const std::string name = "face" + std::to_string(k);
        Entry e{name, k, 0, Format::Bmp, 116, 116, 24, 40424};
        if (k == 36)
            e = {name, k, 0, Format::Bmp, 57, 57, 24, 9860};
        for (const Jpeg& j : jpegs)
            if (j.face == k)
                e = {name, k, 0, Format::Jpeg, j.width, j.height, 24, j.bytes};
        list.push_back(e);
    }
    list.push_back({"dorso20", 0, 20, Format::Bmp, 116, 116, 4, 7078});
    list.push_back({"dorso48", 0, 48, Format::Bmp, 71, 71, 4, 2674});
    list.push_back({"Dorso80", 0, 80, Format::Bmp, 57, 57, 4, 1942});
    list.push_back({"icon", 0, 0, Format::Ico, 32, 32, 4, 766});
    return list;
}

QByteArray storedOf(const Entry& e)
{
    const PictureSet& set = PictureSet::embedded();
    return e.face ? set.storedFace(e.face) : e.back ? set.storedBack(e.back) : set.storedIcon();
}

PictureRef pictureOf(const Entry& e)
{
    const PictureSet& set = PictureSet::embedded();
    return e.face ? set.face(e.face) : e.back ? set.back(e.back) : set.icon();
}

void PrintTo(const Entry& e, std::ostream* os) { *os << e.name; }

class StoredPictureOfTheSet : public ::testing::TestWithParam<Entry> {};

// Every stored value has its listed format, pixel size, depth and length,
// byte for byte in the file's own headers, and decodes to that size.
TEST_P(StoredPictureOfTheSet, HasItsListedFormat)
{
    const Entry& e = GetParam();
    const QByteArray value = storedOf(e);
    ASSERT_GE(value.size(), 12);
    EXPECT_EQ(value.mid(4, 4), QByteArray("\x6C\x74\x00\x00", 4));
    EXPECT_EQ(le32(value, 0), le32(value, 8) + 8);
    EXPECT_EQ(le32(value, 8), static_cast<uint32_t>(value.size() - 12));
    const QByteArray file = imageFile(value);
    EXPECT_EQ(file.size(), e.bytes);

    switch (e.format) {
    case Format::Bmp:
        ASSERT_TRUE(file.startsWith("BM"));
        EXPECT_EQ(le32(file, 14), 40u);
        EXPECT_EQ(static_cast<int>(le32(file, 18)), e.width);
        EXPECT_EQ(static_cast<int>(le32(file, 22)), e.height) << "positive height: rows bottom-up";
        EXPECT_EQ(le16(file, 28), e.bits);
        EXPECT_EQ(le32(file, 30), 0u) << "uncompressed";
        EXPECT_EQ(le32(file, 10), e.bits == 24 ? 54u : 118u);
        break;
    case Format::Jpeg: {
        ASSERT_TRUE(file.startsWith("\xFF\xD8\xFF\xE0"));
        EXPECT_EQ(file.mid(6, 5), QByteArray("JFIF\0", 5));
        const qsizetype sof = jpegSegment(file, 0xC0);
        ASSERT_GT(sof, 0) << "baseline sequential frame";
        EXPECT_EQ(static_cast<uint8_t>(file[sof + 4]), 8) << "bits per sample";
        EXPECT_EQ(be16(file, sof + 5), e.height);
        EXPECT_EQ(be16(file, sof + 7), e.width);
        EXPECT_EQ(static_cast<uint8_t>(file[sof + 9]), 3) << "components";
        EXPECT_TRUE(file.endsWith("\xFF\xD9"));
        break;
    }
    case Format::Ico:
        EXPECT_EQ(le16(file, 0), 0);
        EXPECT_EQ(le16(file, 2), 1) << "icon, not cursor";
        EXPECT_EQ(le16(file, 4), 1) << "one image";
        EXPECT_EQ(static_cast<uint8_t>(file[6]), e.width);
        EXPECT_EQ(static_cast<uint8_t>(file[7]), e.height);
        EXPECT_EQ(static_cast<uint8_t>(file[8]), 16) << "colours";
        EXPECT_EQ(le16(file, 6 + 6), e.bits);
        EXPECT_EQ(le16(file, 22 + 14), e.bits);
        break;
    }

    const PictureRef picture = pictureOf(e);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->image.size(), QSize(e.width, e.height));
    if (e.bits == 4 && e.format == Format::Bmp) {
        EXPECT_LE(picture->image.colorTable().size(), 16);
    }
}

INSTANTIATE_TEST_SUITE_P(AllPictures, StoredPictureOfTheSet, ::testing::ValuesIn(entries()),
                         [](const auto& info) { return info.param.name; });

// Two cards are a pair when they hold the same object.
TEST(PictureSet, EachPictureIsOneSharedObject)
{
    const PictureSet& set = PictureSet::embedded();
    std::set<const Picture*> seen;
    for (int k = 1; k <= PictureSet::kFaces; ++k) {
        const PictureRef first = set.face(k);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(set.face(k), first);
        seen.insert(first.get());
    }
    for (int size : {20, 48, 80}) {
        ASSERT_NE(set.back(size), nullptr);
        EXPECT_EQ(set.back(size), set.back(size));
        seen.insert(set.back(size).get());
    }
    EXPECT_EQ(set.icon(), set.icon());
    EXPECT_EQ(seen.size(), 43u);
}

TEST(PictureSet, UnknownPicturesAreNull)
{
    const PictureSet& set = PictureSet::embedded();
    for (int k : {-1, 0, 41, 1000})
        EXPECT_EQ(set.face(k), nullptr) << k;
    for (int size : {0, 10, 21, 40, 81})
        EXPECT_EQ(set.back(size), nullptr) << size;
    EXPECT_TRUE(set.storedFace(0).isEmpty());
    EXPECT_TRUE(set.storedBack(50).isEmpty());
}

// Stretched to one card size, every face and back differs clearly from every
// other: mean channel difference of at least 12 levels out of 255.
TEST(PictureSet, FacesAndBacksAreClearlyDifferentAtCardSize)
{
    const PictureSet& set = PictureSet::embedded();
    std::vector<QImage> cards;
    for (int k = 1; k <= PictureSet::kFaces; ++k)
        cards.push_back(set.face(k)->image.scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32));
    for (int size : {20, 48, 80})
        cards.push_back(set.back(size)->image.scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32));
    for (size_t a = 0; a < cards.size(); ++a)
        for (size_t b = a + 1; b < cards.size(); ++b) {
            long total = 0;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x) {
                    const QRgb p = cards[a].pixel(x, y);
                    const QRgb q = cards[b].pixel(x, y);
                    total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                        + std::abs(qBlue(p) - qBlue(q));
                }
            EXPECT_GE(total / (24.0 * 24 * 3), 12.0) << "pictures " << a + 1 << " and " << b + 1;
        }
}

}  // namespace
}  // namespace pairly
