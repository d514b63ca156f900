// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>

namespace pairly::testing {

inline uint32_t le32(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
inline uint16_t le16(const QByteArray& b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
inline uint16_t be16(const QByteArray& b, qsizetype at) { return qFromBigEndian<quint16>(b.constData() + at); }
inline void setLe32(QByteArray& b, qsizetype at, uint32_t value) { qToLittleEndian<quint32>(value, b.data() + at); }
inline void setLe16(QByteArray& b, qsizetype at, uint16_t value) { qToLittleEndian<quint16>(value, b.data() + at); }
inline void setBe16(QByteArray& b, qsizetype at, uint16_t value) { qToBigEndian<quint16>(value, b.data() + at); }

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
