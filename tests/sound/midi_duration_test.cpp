#include "smf_builder.h"
#include "sound/midi_duration.h"

#include <gtest/gtest.h>

namespace pairly {
namespace {

using testing::SmfBuilder;

struct DurationCase {
    const char* name;
    QByteArray smf;
    double seconds;
};

std::vector<DurationCase> durationCases()
{
    return {
        {"DefaultTempoIs120Bpm", SmfBuilder().noteOn(0, 0, 60).noteOff(960, 0, 60).build(), 1.0},
        {"TempoEventSetsTheSpeed", SmfBuilder().tempo(0, 1000000).noteOn(0, 0, 60).noteOff(960, 0, 60).build(), 2.0},
        {"TempoChangeMidSong",
         SmfBuilder().noteOn(0, 0, 60).tempo(480, 250000).noteOff(480, 0, 60).build(), 0.75},
        {"NoteOnWithVelocityZeroEndsANote",
         SmfBuilder().noteOn(0, 0, 60).noteOn(1440, 0, 60, 0).build(), 1.5},
        {"RunningStatusIsFollowed",
         SmfBuilder().event(0, {0x90, 60, 90}).event(480, {64, 90}).event(480, {60, 0}).event(480, {64, 0}).build(),
         1.5},
        {"SysexAndProgramChangesAreSkipped",
         SmfBuilder().event(0, {0xF0, 0x03, 0x7E, 0x09, 0xF7}).program(0, 0, 24).noteOn(0, 0, 60)
             .noteOff(480, 0, 60).build(),
         0.5},
        // 25 frames of 40 ticks: 1000 ticks a second.
        {"SmpteDivision", SmfBuilder(uint16_t(0xE728)).noteOn(0, 0, 60).noteOff(2000, 0, 60).build(), 2.0},
        {"EventsAfterTheLastNoteDoNotCount",
         SmfBuilder().noteOn(0, 0, 60).noteOff(480, 0, 60).program(4800, 0, 1).build(), 0.5},
    };
}

class MidiDurationTest : public ::testing::TestWithParam<DurationCase> {};

// A song's length is the end of its last note, following the tempo map.
TEST_P(MidiDurationTest, ReadsTheEndOfTheLastNote)
{
    const auto seconds = midiDuration(GetParam().smf);
    ASSERT_TRUE(seconds.has_value());
    EXPECT_NEAR(*seconds, GetParam().seconds, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Files, MidiDurationTest, ::testing::ValuesIn(durationCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Files that are no songs give no length rather than a wrong one.
TEST(MidiDuration, RejectsFilesWithoutNotes)
{
    EXPECT_FALSE(midiDuration(QByteArray()).has_value());
    EXPECT_FALSE(midiDuration(QByteArray("this is a text file named .mid\n")).has_value());
    EXPECT_FALSE(midiDuration(SmfBuilder().program(0, 0, 1).build()).has_value());
    EXPECT_FALSE(midiDuration(QByteArray("MThd\x00\x00\x00\x02\x00", 9)).has_value());
}

// Every cut of a valid song is read without going past the data, and never
// comes out longer than the whole song.
TEST(MidiDuration, TruncatedFilesAreReadSafely)
{
    const QByteArray whole = SmfBuilder().tempo(0, 400000).noteOn(0, 0, 60).noteOn(240, 0, 64)
                                 .noteOff(240, 0, 60).noteOff(480, 0, 64).build();
    const double full = *midiDuration(whole);
    for (qsizetype length = 0; length < whole.size(); ++length) {
        const QByteArray cut = whole.left(length);
        const auto seconds = midiDuration(QByteArrayView(cut.constData(), cut.size()));
        if (seconds) {
            EXPECT_LE(*seconds, full) << "cut at " << length;
        }
    }
}

}  // namespace
}  // namespace pairly
