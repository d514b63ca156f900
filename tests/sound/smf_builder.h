// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <cstdint>
#include <initializer_list>

namespace pairly::testing {

// Writes small Standard MIDI Files for the tests, byte by byte.
class SmfBuilder {
public:
    explicit SmfBuilder(uint16_t division = 480) : division_(division) {}

    SmfBuilder& tempo(uint32_t delta, uint32_t usPerQuarter)
    {
        return event(delta, {0xFF, 0x51, 0x03, uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8),
                             uint8_t(usPerQuarter)});
    }
    SmfBuilder& program(uint32_t delta, uint8_t channel, uint8_t instrument)
    {
        return event(delta, {uint8_t(0xC0 | channel), instrument});
    }
    SmfBuilder& noteOn(uint32_t delta, uint8_t channel, uint8_t key, uint8_t velocity = 100)
    {
        return event(delta, {uint8_t(0x90 | channel), key, velocity});
    }
    SmfBuilder& noteOff(uint32_t delta, uint8_t channel, uint8_t key)
    {
        return event(delta, {uint8_t(0x80 | channel), key, 0});
    }
    // Raw bytes after a delta time, for running status and odd events.
    SmfBuilder& event(uint32_t delta, std::initializer_list<uint8_t> bytes)
    {
        varLen(delta);
        for (uint8_t b : bytes)
            track_.append(char(b));
        return *this;
    }

    QByteArray build() const
    {
        QByteArray track = track_;
        track.append("\x00\xFF\x2F\x00", 4);
        QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01", 12);
        file.append(char(division_ >> 8)).append(char(division_ & 0xFF));
        file.append("MTrk", 4);
        const auto size = uint32_t(track.size());
        for (int shift = 24; shift >= 0; shift -= 8)
            file.append(char((size >> shift) & 0xFF));
        return file + track;
    }

private:
    void varLen(uint32_t value)
    {
        uint8_t bytes[4];
        int count = 0;
        do {
            bytes[count++] = value & 0x7F;
            value >>= 7;
        } while (value && count < 4);
        for (int i = count - 1; i >= 0; --i)
            track_.append(char(bytes[i] | (i ? 0x80 : 0)));
    }

    uint16_t division_;
    QByteArray track_;
};

}  // namespace pairly::testing
