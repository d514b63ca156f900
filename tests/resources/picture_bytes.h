#pragma once

#include <QByteArray>

#include <cstdint>

namespace pairly::testing {

inline uint32_t le32(const QByteArray& b, qsizetype at)
{
    return static_cast<uint8_t>(b[at]) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8)
        | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16)
        | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24);
}

inline uint16_t le16(const QByteArray& b, qsizetype at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}

inline uint16_t be16(const QByteArray& b, qsizetype at)
{
    return static_cast<uint16_t>((static_cast<uint8_t>(b[at]) << 8) | static_cast<uint8_t>(b[at + 1]));
}

inline void setLe32(QByteArray& b, qsizetype at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void setLe16(QByteArray& b, qsizetype at, uint16_t value)
{
    b[at] = static_cast<char>(value & 0xFF);
    b[at + 1] = static_cast<char>(value >> 8);
}

inline void setBe16(QByteArray& b, qsizetype at, uint16_t value)
{
    b[at] = static_cast<char>(value >> 8);
    b[at + 1] = static_cast<char>(value & 0xFF);
}

// The stored picture value holding an image file.
inline QByteArray stored(const QByteArray& file)
{
    QByteArray value(12, '\0');
    setLe32(value, 0, static_cast<uint32_t>(file.size() + 8));
    value[4] = 0x6C;
    value[5] = 0x74;
    setLe32(value, 8, static_cast<uint32_t>(file.size()));
    return value + file;
}

// The image file inside a stored picture value.
inline QByteArray imageFile(const QByteArray& value) { return value.mid(12); }

// Offset of the first segment with this marker in a JPEG, or -1.
inline qsizetype jpegSegment(const QByteArray& jpeg, uint8_t marker)
{
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && static_cast<uint8_t>(jpeg[pos]) == 0xFF) {
        const auto m = static_cast<uint8_t>(jpeg[pos + 1]);
        if (m == marker)
            return pos;
        if (m == 0xDA || m == 0xD9)
            return -1;
        pos += 2 + be16(jpeg, pos + 2);
    }
    return -1;
}

}  // namespace pairly::testing
