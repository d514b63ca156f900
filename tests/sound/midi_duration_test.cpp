// SPDX-License-Identifier: GPL-3.0-or-later
#include "smf_builder.h"
#include "sound/midi_duration.h"

#include <gtest/gtest.h>

#include <optional>

namespace pairly {
namespace {

using testing::SmfBuilder;

struct DurationCase {
    const char* name;
    QByteArray smf;
    std::optional<double> seconds;
};

void PrintTo(const DurationCase& c, std::ostream* os) { *os << c.name; }

class MidiDurationTest : public ::testing::TestWithParam<DurationCase> {};

// A song lasts to the end of its last note, following the tempo map; a file
// that holds no notes has no length rather than a wrong one.
TEST_P(MidiDurationTest, ReadsTheEndOfTheLastNote)
{
    EXPECT_NEAR(midiDuration(GetParam().smf).value_or(-1), GetParam().seconds.value_or(-1), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MidiDurationTest,
    ::testing::Values(
        DurationCase{"DefaultTempo120Bpm", SmfBuilder().noteOn(0, 0, 60).noteOff(960, 0, 60).build(), 1.0},
        DurationCase{"TempoChangeMidSong", SmfBuilder().tempo(0, 1000000).noteOn(0, 0, 60).tempo(960, 250000)
                                               .noteOff(480, 0, 60).build(), 2.25},
        DurationCase{"VelocityZeroEndsANote", SmfBuilder().noteOn(0, 0, 60).noteOn(1440, 0, 60, 0).build(), 1.5},
        DurationCase{"RunningStatus", SmfBuilder().event(0, {0x90, 60, 90}).event(480, {64, 90})
                                          .event(480, {60, 0}).event(480, {64, 0}).build(), 1.5},
        DurationCase{"SysexSkipped", SmfBuilder().event(0, {0xF0, 0x03, 0x7E, 0x09, 0xF7}).noteOn(0, 0, 60)
                                         .noteOff(480, 0, 60).build(), 0.5},
        // 25 frames of 40 ticks: 1000 ticks a second.
        DurationCase{"SmpteDivision", SmfBuilder(uint16_t(0xE728)).noteOn(0, 0, 60).noteOff(2000, 0, 60).build(), 2.0},
        DurationCase{"EventsAfterTheLastNote", SmfBuilder().noteOn(0, 0, 60).noteOff(480, 0, 60)
                                                   .program(4800, 0, 1).build(), 0.5},
        DurationCase{"Empty", QByteArray(), std::nullopt},
        DurationCase{"Text", QByteArray("this is a text file named .mid\n"), std::nullopt},
        DurationCase{"NoNotes", SmfBuilder().program(0, 0, 1).build(), std::nullopt},
        DurationCase{"ShortHeader", QByteArray("MThd\x00\x00\x00\x02\x00", 9), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// Every cut of a valid song is read without going past the data, and never
// comes out longer than the whole song.
TEST(MidiDuration, TruncatedFilesAreReadSafely)
{
    const QByteArray whole = SmfBuilder().tempo(0, 400000).noteOn(0, 0, 60).noteOn(240, 0, 64)
                                 .noteOff(240, 0, 60).noteOff(480, 0, 64).build();
    const double full = *midiDuration(whole);
    for (qsizetype length = 0; length < whole.size(); ++length) {
        EXPECT_LE(midiDuration(whole.left(length)).value_or(0), full) << "cut at " << length;
    }
}

// A delta time is at most four bytes long: a fifth marks a broken file, whose
// length is not to be believed.
TEST(MidiDuration, ADeltaTimeOfFiveBytesIsNoTime)
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
