// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <optional>

namespace pairly {

// Seconds from the start of a Standard MIDI File to the end of its last
// note, following the file's tempo map. Empty when the data is not a
// readable SMF or holds no note at all. Never reads past the data, whatever
// it holds.
std::optional<double> midiDuration(QByteArrayView smf);

}  // namespace pairly
