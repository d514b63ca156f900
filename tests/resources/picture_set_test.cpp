// SPDX-License-Identifier: GPL-3.0-or-later
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
    int width, height, bits, bytes;
};

std::vector<Entry> entries()
{
    struct Other {
        int face;
        Format format;
        int width, height, bytes;
    };
    constexpr Format J = Format::Jpeg;
    const Other others[] = {{36, Format::Bmp, 57, 57, 9860}, {13, J, 116, 116, 14829}, {14, J, 149, 187, 21217},
                            {18, J, 300, 300, 12540},        {19, J, 160, 150, 31941}, {20, J, 300, 256, 18100},
                            {24, J, 116, 116, 6722},         {26, J, 128, 123, 12299}, {27, J, 566, 565, 100494},
                            {28, J, 800, 600, 270070},       {29, J, 116, 116, 9316},  {30, J, 300, 249, 37370},
                            {31, J, 200, 133, 21274},        {33, J, 348, 241, 39667}, {39, J, 99, 94, 8506}};
    std::vector<Entry> list;
    for (int k = 1; k <= 40; ++k) {
        Entry e{"face" + std::to_string(k), k, 0, Format::Bmp, 116, 116, 24, 40424};
        for (const Other& o : others)
            if (o.face == k)
                e = {e.name, k, 0, o.format, o.width, o.height, 24, o.bytes};
        list.push_back(e);
    }
    list.push_back({"dorso20", 0, 20, Format::Bmp, 116, 116, 4, 7078});
    list.push_back({"dorso48", 0, 48, Format::Bmp, 71, 71, 4, 2674});
    list.push_back({"Dorso80", 0, 80, Format::Bmp, 57, 57, 4, 1942});
    list.push_back({"icon", 0, 0, Format::Ico, 32, 32, 4, 766});
    return list;
}

// Width, height and bit depth as the image file's own headers give them, or
// zeros when the file is not of the expected kind: an uncompressed bottom-up
// BMP, a baseline 8-bit three-component JFIF, a one-image 16-colour icon.
std::tuple<int, int, int> headerSize(const QByteArray& file, Format format)
{
    switch (format) {
    case Format::Bmp:
        if (!file.startsWith("BM") || le32(file, 14) != 40 || le32(file, 30) != 0
            || le32(file, 10) != (le16(file, 28) == 24 ? 54u : 118u))
            return {};
        return {int(le32(file, 18)), int(le32(file, 22)), le16(file, 28)};
    case Format::Jpeg: {
        const qsizetype sof = jpegSegment(file, 0xC0);
        if (!file.startsWith("\xFF\xD8\xFF\xE0") || file.mid(6, 5) != QByteArray("JFIF\0", 5) || sof < 0
            || file[sof + 4] != 8 || file[sof + 9] != 3 || !file.endsWith("\xFF\xD9"))
            return {};
        return {be16(file, sof + 7), be16(file, sof + 5), 24};
    }
    case Format::Ico:
        if (le16(file, 0) != 0 || le16(file, 2) != 1 || le16(file, 4) != 1 || file[8] != 16
            || le16(file, 12) != le16(file, 36))
            return {};
        return {uint8_t(file[6]), uint8_t(file[7]), le16(file, 12)};
    }
    return {};
}

void PrintTo(const Entry& c, std::ostream* os) { *os << c.name; }

class StoredPictureOfTheSet : public ::testing::TestWithParam<Entry> {};

// Every stored value has its listed format, size, depth and length, in the
// value's and the file's own headers, and decodes to that size.
TEST_P(StoredPictureOfTheSet, HasItsListedFormat)
{
    const Entry& e = GetParam();
    const PictureSet& set = PictureSet::embedded();
    const QByteArray value = e.face ? set.storedFace(e.face) : e.back ? set.storedBack(e.back) : set.storedIcon();
    ASSERT_GE(value.size(), 12);
    EXPECT_EQ(value, stored(imageFile(value))) << "lengths and magic in front of the image";
    EXPECT_EQ(imageFile(value).size(), e.bytes);
    EXPECT_EQ(headerSize(imageFile(value), e.format), std::tuple(e.width, e.height, e.bits));
    const PictureRef picture = e.face ? set.face(e.face) : e.back ? set.back(e.back) : set.icon();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->image.size(), QSize(e.width, e.height));
}

INSTANTIATE_TEST_SUITE_P(AllPictures, StoredPictureOfTheSet, ::testing::ValuesIn(entries()),
                         [](const auto& info) { return info.param.name; });

// Two cards are a pair when they hold the same object: every call gives the
// one shared object of its picture, and unknown pictures give none.
TEST(PictureSet, EachPictureIsOneSharedObject)
{
    const PictureSet& set = PictureSet::embedded();
    std::set<const Picture*> seen;
    for (int k = 1; k <= PictureSet::kFaces; ++k) {
        EXPECT_EQ(set.face(k), set.face(k));
        seen.insert(set.face(k).get());
    }
    for (int size : {20, 48, 80}) {
        EXPECT_EQ(set.back(size), set.back(size));
        seen.insert(set.back(size).get());
    }
    EXPECT_EQ(set.icon(), set.icon());
    EXPECT_EQ(seen.size(), 43u);
    EXPECT_FALSE(seen.contains(nullptr));
    for (int k : {-1, 0, 41})
        EXPECT_EQ(set.face(k), nullptr) << k;
    for (int size : {0, 21, 81})
        EXPECT_EQ(set.back(size), nullptr) << size;
}

// A screen reader names a turned card by its face: each of the 40 faces has
// a name of its own, a word or two, found from the face's picture object.
TEST(PictureSet, EachFaceHasAShortNameOfItsOwn)
{
    const PictureSet& set = PictureSet::embedded();
    std::set<QString> names;
    for (int k = 1; k <= PictureSet::kFaces; ++k) {
        const QString name = set.faceName(set.face(k).get());
        EXPECT_EQ(name, set.faceName(k)) << k;
        EXPECT_TRUE(!name.isEmpty() && name.size() <= 16 && name.trimmed() == name) << k;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(set.faceName(set.back(20).get()), QString());
    EXPECT_EQ(set.faceName(41), QString());
}

// Stretched to one card size, every face and back differs clearly from every
// other: mean channel difference of at least 12 levels out of 255.
TEST(PictureSet, FacesAndBacksAreClearlyDifferentAtCardSize)
{
    const PictureSet& set = PictureSet::embedded();
    std::vector<QImage> cards;
    for (int k = 1; k <= PictureSet::kFaces + 3; ++k) {
        const PictureRef p = k <= PictureSet::kFaces ? set.face(k) : set.back(std::array{20, 48, 80}[k - 41]);
        cards.push_back(p->image.scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32));
    }
    for (size_t a = 0; a < cards.size(); ++a)
        for (size_t b = a + 1; b < cards.size(); ++b) {
            long total = 0;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x) {
                    const QRgb p = cards[a].pixel(x, y), q = cards[b].pixel(x, y);
                    total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                        + std::abs(qBlue(p) - qBlue(q));
                }
            EXPECT_GE(total / (24.0 * 24 * 3), 12.0) << "pictures " << a + 1 << " and " << b + 1;
        }
}

}  // namespace
}  // namespace pairly
