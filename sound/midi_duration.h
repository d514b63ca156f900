// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace pairly {

// Seconds from the start of a Standard MIDI File to the end of its last
// note, following the file's tempo map. Empty when the data is not a
// readable SMF or holds no note at all. Never reads past the data, whatever
// it holds.
std::optional<double> midiDuration(QByteArrayView smf);

// The last tick at or before `seconds` from the start (at most the last
// note's), for starting a song part-way. Empty as midiDuration is.
std::optional<uint64_t> midiTickAt(QByteArrayView smf, double seconds);

}  // namespace pairly
