// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/midi_duration.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace pairly {
namespace {

// A delta time is at most four bytes long: a fifth marks a broken file, whose
// length is not to be believed.
TEST(MidiLimits, ADeltaTimeOfFiveBytesIsNoTime)
{
    const auto song = [](QByteArray delta) {
        const QByteArray track = QByteArray::fromHex("00903c40") + delta + QByteArray::fromHex("803c0000ff2f00");
        QByteArray smf = QByteArray::fromHex("4d546864000000060000000100604d54726b");
        smf += QByteArray::fromHex(QByteArray::number(track.size(), 16).rightJustified(8, '0'));
        return smf + track;
    };
    // 0x0FFFFFFF ticks at 96 a beat and 120 beats a minute, then the note ends.
    EXPECT_NEAR(midiDuration(song(QByteArray::fromHex("ffffff7f"))).value_or(0), 0x0FFFFFFF / 96.0 / 2, 1);
    EXPECT_LT(midiDuration(song(QByteArray::fromHex("8180808000"))).value_or(0), 1.0);
}

}  // namespace
}  // namespace pairly
