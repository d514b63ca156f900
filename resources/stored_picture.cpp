// SPDX-License-Identifier: GPL-3.0-or-later
#include "stored_picture.h"

#include "jpeg_decoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cmath>
#include <cstdint>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcPictures, "pairly.pictures", QtCriticalMsg)

namespace pairly {
namespace {

// Files larger than this are not read from disk at all.
constexpr qint64 kMaxFileBytes = qint64{64} * 1024 * 1024;

// Each check returns nullptr when the file passes, otherwise the reason it
// was refused, which goes to the log.
using Rejection = const char*;

class Bytes {
public:
    explicit Bytes(QByteArrayView data) : data_(data) {}

    qsizetype size() const { return data_.size(); }
    bool has(qint64 offset, qint64 count) const
    {
        return offset >= 0 && count >= 0 && offset <= data_.size() && count <= data_.size() - offset;
    }
    uint8_t u8(qsizetype at) const { return static_cast<uint8_t>(data_[at]); }
    uint16_t le16(qsizetype at) const { return static_cast<uint16_t>(u8(at) | (u8(at + 1) << 8)); }
    uint16_t be16(qsizetype at) const { return static_cast<uint16_t>((u8(at) << 8) | u8(at + 1)); }
    uint32_t le32(qsizetype at) const
    {
        return static_cast<uint32_t>(u8(at)) | (static_cast<uint32_t>(u8(at + 1)) << 8)
            | (static_cast<uint32_t>(u8(at + 2)) << 16) | (static_cast<uint32_t>(u8(at + 3)) << 24);
    }
    int32_t le32s(qsizetype at) const { return static_cast<int32_t>(le32(at)); }

private:
    QByteArrayView data_;
};

Rejection checkDimensions(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        return "empty picture";
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
        return "picture dimensions too large";
    return nullptr;
}

// Bytes per row of a packed bottom-up bitmap: rows are padded to 4 bytes.
qint64 rowPitch(qint64 width, int bits) { return (width * bits + 31) / 32 * 4; }

// A palette shorter than the bit depth allows leaves some pixel values without
// a colour; every pixel must name an entry that exists.
bool indicesWithinPalette(const Bytes& b, qint64 start, qint64 width, qint64 height, int bits,
                          uint32_t entries)
{
    if (bits > 8 || entries >= (1u << bits))
        return true;
    const qint64 pitch = rowPitch(width, bits);
    const unsigned mask = (1u << bits) - 1;
    for (qint64 y = 0; y < height; ++y) {
        const qint64 row = start + y * pitch;
        for (qint64 x = 0; x < width; ++x) {
            const qint64 bit = x * bits;
            const int shift = 8 - bits - static_cast<int>(bit % 8);
            const unsigned index = (b.u8(row + bit / 8) >> shift) & mask;
            if (index >= entries)
                return false;
        }
    }
    return true;
}

Rejection checkBmp(const Bytes& b)
{
    constexpr qint64 kHeaders = 14 + 40;
    if (b.size() < kHeaders)
        return "BMP headers truncated";
    if (b.le32(14) != 40)
        return "BMP information header is not 40 bytes";
    const qint64 width = b.le32s(18);
    const int32_t signedHeight = b.le32s(22);
    const int bits = b.le16(28);
    if (b.le16(26) != 1)
        return "BMP plane count is not 1";
    if (b.le32(30) != 0)
        return "BMP is compressed";
    if (bits != 4 && bits != 24)
        return "BMP bit depth is neither 4 nor 24";
    if (signedHeight == INT32_MIN)
        return "BMP height out of range";
    const qint64 height = std::abs(static_cast<qint64>(signedHeight));
    if (Rejection why = checkDimensions(width, height))
        return why;

    uint32_t entries = 0;
    if (bits == 4) {
        entries = b.le32(46) == 0 ? 16 : b.le32(46);
        if (entries > 16)
            return "BMP palette larger than its bit depth allows";
    }
    const qint64 paletteEnd = kHeaders + qint64{entries} * 4;
    if (paletteEnd > b.size())
        return "BMP palette past the end";
    const qint64 pixels = b.le32(10);
    if (pixels < paletteEnd)
        return "BMP pixel data overlaps its headers";
    const qint64 rowsBytes = rowPitch(width, bits) * height;
    if (!b.has(pixels, rowsBytes))
        return "BMP pixel rows past the end";
    const qint64 declaredImageSize = b.le32(34);
    if (declaredImageSize != 0 && declaredImageSize < rowsBytes)
        return "BMP image size smaller than its rows";
    if (!indicesWithinPalette(b, pixels, width, height, bits, entries))
        return "BMP pixel names a missing palette entry";
    return nullptr;
}

Rejection checkIconImage(const Bytes& b, qint64 offset, qint64 length, int entryWidth, int entryHeight)
{
    if (length < 40)
        return "icon image shorter than its header";
    if (b.u8(offset) == 0x89 && b.u8(offset + 1) == 'P')
        return "icon image is PNG";
    if (b.le32(offset) != 40)
        return "icon image header is not 40 bytes";
    const qint64 width = b.le32s(offset + 4);
    const qint64 doubledHeight = b.le32s(offset + 8);
    const int bits = b.le16(offset + 14);
    if (b.le32(offset + 16) != 0)
        return "icon image is compressed";
    if (width != entryWidth || doubledHeight != 2 * qint64{entryHeight})
        return "icon image disagrees with its directory entry";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return "icon bit depth not supported";
    if (Rejection why = checkDimensions(width, entryHeight))
        return why;
    uint32_t entries = 0;
    if (bits <= 8) {
        const uint32_t used = b.le32(offset + 32);
        entries = used == 0 ? (1u << bits) : used;
        if (entries > (1u << bits))
            return "icon palette larger than its bit depth allows";
    }
    const qint64 colours = offset + 40 + qint64{entries} * 4;
    const qint64 needed = 40 + qint64{entries} * 4 + (rowPitch(width, bits) + rowPitch(width, 1)) * entryHeight;
    if (needed > length)
        return "icon image shorter than its rows";
    if (!indicesWithinPalette(b, colours, width, entryHeight, bits, entries))
        return "icon pixel names a missing palette entry";
    return nullptr;
}

Rejection checkIcon(const Bytes& b)
{
    if (b.size() < 6)
        return "icon header truncated";
    const int count = b.le16(4);
    if (count < 1 || count > 64)
        return "icon image count out of range";
    const qint64 directoryEnd = 6 + qint64{count} * 16;
    if (directoryEnd > b.size())
        return "icon directory past the end";
    for (int i = 0; i < count; ++i) {
        const qint64 entry = 6 + qint64{i} * 16;
        const int width = b.u8(entry) == 0 ? 256 : b.u8(entry);
        const int height = b.u8(entry + 1) == 0 ? 256 : b.u8(entry + 1);
        const qint64 length = b.le32(entry + 8);
        const qint64 offset = b.le32(entry + 12);
        if (offset < directoryEnd || !b.has(offset, length))
            return "icon directory points outside the file";
        if (Rejection why = checkIconImage(b, offset, length, width, height))
            return why;
    }
    return nullptr;
}

Rejection checkJpegFrame(const Bytes& b, qint64 at, qint64 length)
{
    if (length < 8)
        return "JPEG frame header truncated";
    if (b.u8(at + 2) != 8)
        return "JPEG sample precision is not 8 bits";
    const int components = b.u8(at + 7);
    if (components != 1 && components != 3 && components != 4)
        return "JPEG component count not supported";
    if (length != 8 + 3 * qint64{components})
        return "JPEG frame header length disagrees with its components";
    return checkDimensions(b.be16(at + 5), b.be16(at + 3));
}

// Walks the marker segments and the entropy-coded data up to the end-of-image
// marker, so that a file cut short anywhere is refused instead of being
// decoded with a grey remainder.
Rejection checkJpeg(const Bytes& b)
{
    if (b.size() < 4 || b.u8(2) != 0xFF)
        return "JPEG signature truncated";
    bool frame = false;
    bool scan = false;
    qint64 pos = 2;
    for (;;) {
        if (!b.has(pos, 2))
            return "JPEG ends before its end marker";
        if (b.u8(pos) != 0xFF)
            return "JPEG marker expected";
        const uint8_t marker = b.u8(pos + 1);
        pos += marker == 0xFF ? 1 : 2;
        if (marker == 0xFF)
            continue;
        if (marker == 0xD9)
            return frame && scan ? nullptr : "JPEG holds no scan";
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (marker == 0xD8 || marker == 0x00)
            return "JPEG marker out of place";
        if (!b.has(pos, 2))
            return "JPEG segment length truncated";
        const qint64 length = b.be16(pos);
        if (length < 2 || !b.has(pos, length))
            return "JPEG segment past the end";
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            if (marker > 0xC2)
                return "JPEG coding not supported";
            if (frame)
                return "JPEG holds two frames";
            if (Rejection why = checkJpegFrame(b, pos, length))
                return why;
            frame = true;
        }
        pos += length;
        if (marker != 0xDA)
            continue;
        if (!frame)
            return "JPEG scan before its frame";
        scan = true;
        for (;;) {
            if (!b.has(pos, 2))
                return "JPEG ends inside a scan";
            if (b.u8(pos) != 0xFF) {
                ++pos;
                continue;
            }
            const uint8_t next = b.u8(pos + 1);
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                pos += 2;
                continue;
            }
            if (next == 0xFF) {
                ++pos;
                continue;
            }
            break;
        }
    }
}

struct Kind {
    const char* format;
    Rejection (*check)(const Bytes&);
    bool isJpeg = false;
};

const Kind* kindOf(const Bytes& b)
{
    static constexpr Kind bmp{"bmp", checkBmp};
    static constexpr Kind jpeg{"jpeg", checkJpeg, true};
    static constexpr Kind ico{"ico", checkIcon};
    if (b.size() >= 2 && b.u8(0) == 'B' && b.u8(1) == 'M')
        return &bmp;
    if (b.size() >= 2 && b.u8(0) == 0xFF && b.u8(1) == 0xD8)
        return &jpeg;
    if (b.size() >= 4 && b.le16(0) == 0 && (b.le16(2) == 1 || b.le16(2) == 2))
        return &ico;
    return nullptr;
}

PictureRef reject(const char* why)
{
    qCWarning(lcPictures, "picture rejected: %s", why);
    return nullptr;
}

// Qt's own ceiling on a decoded buffer, as a second guard behind the header
// checks: 64 Mpixel at 4 bytes each, with room for row alignment.
void limitDecoderAllocations()
{
    static const bool done = [] {
        QImageReader::setAllocationLimit(260);
        return true;
    }();
    Q_UNUSED(done);
}

}  // namespace

namespace {

// A JPEG is decoded at `scaleEighths` eighths of its size; the others at theirs.
PictureRef decodeImage(QByteArrayView file, int scaleEighths)
{
    const Bytes b(file);
    const Kind* kind = kindOf(b);
    if (!kind)
        return reject("unknown image signature");
    if (Rejection why = kind->check(b))
        return reject(why);

    if (kind->isJpeg) {
        const auto checkScaled = [scaleEighths](qint64 width, qint64 height) {
            return checkDimensions((width * scaleEighths + 7) / 8, (height * scaleEighths + 7) / 8);
        };
        JpegDecoding jpeg = decodeJpeg(file, checkScaled, scaleEighths);
        if (jpeg.failure)
            return reject(jpeg.failure);
        return std::make_shared<const Picture>(Picture{std::move(jpeg.image)});
    }

    limitDecoderAllocations();
    // The view outlives the reader, so the decoder reads it in place.
    QByteArray raw = QByteArray::fromRawData(file.data(), file.size());
    QBuffer buffer(&raw);
    if (!buffer.open(QIODevice::ReadOnly))
        return reject("image buffer cannot be opened");
    QImageReader reader(&buffer, kind->format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid())
        return reject("decoder cannot read the image size");
    if (Rejection why = checkDimensions(size.width(), size.height()))
        return reject(why);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return reject("decoder failed");
    return std::make_shared<const Picture>(Picture{std::move(image)});
}

// The decoded image at `ratio` pixels per logical pixel of its natural size.
PictureRef atPixelRatio(PictureRef picture, QSize natural, qreal ratio)
{
    if (!picture || ratio == 1)
        return picture;
    QImage image = picture->image;
    const QSize device = (QSizeF(natural) * ratio).toSize();
    if (image.size() != device)
        image = image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return std::make_shared<const Picture>(Picture{std::move(image)});
}

}  // namespace

PictureRef decodeImageFile(QByteArrayView file)
{
    return decodeImage(file, 8);
}

PictureRef decodeStoredPicture(QByteArrayView bytes)
{
    constexpr qint64 kHeader = 12;
    const Bytes b(bytes);
    if (b.size() < kHeader)
        return reject("stored picture header truncated");
    if (b.u8(4) != 0x6C || b.u8(5) != 0x74 || b.u8(6) != 0 || b.u8(7) != 0)
        return reject("stored picture magic missing");
    const qint64 total = b.le32(0);
    const qint64 imageLength = b.le32(8);
    if (total != imageLength + 8)
        return reject("stored picture lengths disagree");
    if (!b.has(kHeader, imageLength))
        return reject("stored picture image past the end");
    return decodeImageFile(bytes.sliced(kHeader, imageLength));
}

PictureRef loadPictureFile(const QString& path, qreal devicePixelRatio)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcPictures) << "picture file cannot be opened:" << path;
        return nullptr;
    }
    if (file.size() > kMaxFileBytes) {
        qCWarning(lcPictures) << "picture file too large:" << path;
        return nullptr;
    }
    const QByteArray data = file.read(kMaxFileBytes);
    // Up to twice the natural size, a JPEG is scaled in the decoder itself.
    const qreal eighths = devicePixelRatio * 8;
    const bool inDecoder = eighths > 8 && eighths <= 16 && eighths == std::floor(eighths);
    PictureRef picture = decodeImage(data, inDecoder ? static_cast<int>(eighths) : 8);
    if (!picture) {
        qCWarning(lcPictures) << "picture file rejected:" << path;
        return nullptr;
    }
    const QSize natural = inDecoder ? picture->image.size() * 8 / eighths : picture->image.size();
    return atPixelRatio(std::move(picture), natural, devicePixelRatio);
}

}  // namespace pairly
