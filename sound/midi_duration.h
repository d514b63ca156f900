#pragma once

#include <QByteArrayView>

#include <optional>

namespace pairly {

// When a Standard MIDI File's notes sound, in seconds from its start,
// following the file's tempo map.
struct MidiTiming {
    double firstNote = 0;
    double lastNoteEnd = 0;
};

// Empty when the data is not a readable SMF or holds no note at all. Never
// reads past the data, whatever it holds.
std::optional<MidiTiming> midiTiming(QByteArrayView smf);

// Seconds from the start of the file to the end of its last note.
std::optional<double> midiDuration(QByteArrayView smf);

}  // namespace pairly
