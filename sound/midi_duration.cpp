// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_duration.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace pairly {
namespace {

// Reads big-endian fields and variable-length quantities, refusing to step
// past the end: every reader returns false once the data runs out.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

    bool atEnd() const { return p_ >= end_; }
    size_t left() const { return static_cast<size_t>(end_ - p_); }
    const uint8_t* position() const { return p_; }

    bool byte(uint8_t& out)
    {
        if (atEnd())
            return false;
        out = *p_++;
        return true;
    }

    bool peek(uint8_t& out) const
    {
        if (atEnd())
            return false;
        out = *p_;
        return true;
    }

    bool be(int bytes, uint32_t& out)
    {
        out = 0;
        for (int i = 0; i < bytes; ++i) {
            uint8_t b = 0;
            if (!byte(b))
                return false;
            out = (out << 8) | b;
        }
        return true;
    }

    bool varLen(uint32_t& out)
    {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = 0;
            if (!byte(b))
                return false;
            out = (out << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return true;
        }
        return false;
    }

    bool skip(uint32_t count)
    {
        if (count > left())
            return false;
        p_ += count;
        return true;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

struct TrackScan {
    std::map<uint64_t, uint32_t>& tempos;
    uint64_t lastNoteTick = 0;
    bool hasNote = false;
};

// Walks one track's events; a track cut short keeps what was read before the
// cut, as a player would have played it.
void scanTrack(Reader track, TrackScan& scan)
{
    uint64_t tick = 0;
    uint8_t status = 0;
    while (!track.atEnd()) {
        uint32_t delta = 0;
        if (!track.varLen(delta))
            return;
        tick += delta;
        uint8_t first = 0;
        if (!track.peek(first))
            return;
        if (first & 0x80) {
            track.byte(first);
            if (first < 0xF0)
                status = first;
        } else if (status == 0) {
            return;
        }
        const uint8_t kind = first & 0x80 ? first : status;
        if (kind == 0xFF) {
            uint8_t type = 0;
            uint32_t length = 0;
            if (!track.byte(type) || !track.varLen(length) || length > track.left())
                return;
            if (type == 0x51 && length == 3) {
                const uint8_t* d = track.position();
                const uint32_t usPerQuarter = (uint32_t(d[0]) << 16) | (uint32_t(d[1]) << 8) | d[2];
                if (usPerQuarter > 0)
                    scan.tempos[tick] = usPerQuarter;
            }
            track.skip(length);
            if (type == 0x2F)
                return;
            continue;
        }
        if (kind == 0xF0 || kind == 0xF7) {
            uint32_t length = 0;
            if (!track.varLen(length) || !track.skip(length))
                return;
            continue;
        }
        if (kind > 0xF0)
            return;
        const uint8_t high = kind & 0xF0;
        const uint32_t dataBytes = (high == 0xC0 || high == 0xD0) ? 1 : 2;
        if (!track.skip(dataBytes))
            return;
        if (high == 0x80 || high == 0x90) {
            scan.lastNoteTick = std::max(scan.lastNoteTick, tick);
            scan.hasNote = true;
        }
    }
}

double ticksToSeconds(uint64_t ticks, uint16_t division, const std::map<uint64_t, uint32_t>& tempos)
{
    if (division & 0x8000) {
        const int fps = -static_cast<int8_t>(division >> 8);
        const double framesPerSecond = fps == 29 ? 29.97 : fps;
        const int ticksPerFrame = division & 0xFF;
        if (framesPerSecond <= 0 || ticksPerFrame == 0)
            return 0;
        return double(ticks) / (framesPerSecond * ticksPerFrame);
    }
    if (division == 0)
        return 0;
    double seconds = 0;
    uint64_t at = 0;
    uint32_t usPerQuarter = 500000;
    for (const auto& [changeTick, tempo] : tempos) {
        if (changeTick >= ticks)
            break;
        seconds += double(changeTick - at) * usPerQuarter / 1e6 / division;
        at = changeTick;
        usPerQuarter = tempo;
    }
    return seconds + double(ticks - at) * usPerQuarter / 1e6 / division;
}

// What a song's tracks tell about its timing.
struct SongScan {
    uint16_t division = 0;
    std::map<uint64_t, uint32_t> tempos;
    TrackScan tracks{tempos};
};

bool scanSong(QByteArrayView smf, SongScan& song)
{
    Reader file(reinterpret_cast<const uint8_t*>(smf.data()), size_t(smf.size()));
    uint32_t magic = 0, headerLength = 0, format = 0, trackCount = 0, division = 0;
    if (!file.be(4, magic) || magic != 0x4D546864 || !file.be(4, headerLength) || headerLength < 6)
        return false;
    if (!file.be(2, format) || !file.be(2, trackCount) || !file.be(2, division) || !file.skip(headerLength - 6))
        return false;
    song.division = uint16_t(division);
    for (uint32_t found = 0; found < trackCount && !file.atEnd();) {
        uint32_t id = 0, length = 0;
        if (!file.be(4, id) || !file.be(4, length))
            break;
        const uint32_t available = std::min<uint32_t>(length, uint32_t(file.left()));
        if (id == 0x4D54726B) {
            scanTrack(Reader(file.position(), available), song.tracks);
            ++found;
        }
        file.skip(available);
    }
    return song.tracks.hasNote;
}

}  // namespace

std::optional<double> midiDuration(QByteArrayView smf)
{
    SongScan song;
    if (!scanSong(smf, song))
        return std::nullopt;
    return ticksToSeconds(song.tracks.lastNoteTick, song.division, song.tempos);
}

std::optional<uint64_t> midiTickAt(QByteArrayView smf, double seconds)
{
    SongScan song;
    if (!scanSong(smf, song) || seconds < 0)
        return std::nullopt;
    // Seconds grow with ticks: bisect over the song's ticks.
    uint64_t low = 0, high = song.tracks.lastNoteTick;
    while (low < high) {
        const uint64_t middle = low + (high - low + 1) / 2;
        if (ticksToSeconds(middle, song.division, song.tempos) <= seconds)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

}  // namespace pairly
