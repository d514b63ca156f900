// SPDX-License-Identifier: GPL-3.0-or-later
#include "smf_builder.h"
#include "sound/midi_duration.h"
#include "sound/mixer_output.h"
#include "sound/song_synth.h"
#include "sound/sound_font.h"

#include <QFile>

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace pairly {
namespace {

using testing::SmfBuilder;

constexpr int kRate = 44100;
constexpr int kBlock = 512;
// -50 dBFS: a sound dropping to silence from above this is heard as a cut.
constexpr int kHeard = 100;

// The output's blocks, rendered offline; `onEnd` runs when the song ends, as
// the game's completion handler does.
struct Rendering {
    std::vector<int16_t> samples;
    std::vector<int64_t> ends;

    int64_t frames() const { return int64_t(samples.size() / 2); }
    int level(int64_t frame) const { return std::abs(int(samples[size_t(2 * frame)])); }
};

void render(SongSynth& synth, Rendering& out, double seconds, const std::function<void()>& onEnd = {})
{
    for (int64_t left = int64_t(seconds * kRate); left > 0; left -= kBlock) {
        out.samples.resize(out.samples.size() + 2 * kBlock, 0);
        if (synth.render(out.samples.data() + out.samples.size() - 2 * kBlock, kBlock)) {
            out.ends.push_back(out.frames());
            if (onEnd)
                onEnd();
        }
    }
}

// Frames where the sound stops dead: the last sound before a run of digital
// silence, while the milliseconds before it were still heard.
std::vector<int64_t> cuts(const Rendering& r)
{
    std::vector<int64_t> found;
    constexpr int64_t kRun = 64, kBefore = 64;
    for (int64_t f = kBefore; f + kRun < r.frames(); ++f) {
        if (r.samples[size_t(2 * f)] == 0 && r.samples[size_t(2 * f + 1)] == 0)
            continue;
        if (!std::all_of(r.samples.begin() + 2 * (f + 1), r.samples.begin() + 2 * (f + 1 + kRun),
                         [](int16_t s) { return s == 0; }))
            continue;
        int peak = 0;
        for (int64_t b = f - kBefore; b <= f; ++b)
            peak = std::max(peak, r.level(b));
        if (peak > kHeard)
            found.push_back(f);
    }
    return found;
}

QByteArray song(const QString& name)
{
    QFile file(QStringLiteral(PAIRLY_SONGS_DIR "/") + name + QStringLiteral(".mid"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char* const kSequence[] = {"Chill1",   "Champion", "Champs", "Easycity", "inds_01",
                                 "Humanoid", "Impact",   "Lastday", "Scopa",   "Sevilana"};

class SongEndingTest : public ::testing::TestWithParam<int> {};

// Each shipped song's last ten seconds, then the next song in sequence, as
// sequential play has them: the song's end is reported once, after its last
// note; its final notes ring out instead of stopping dead; and the next song
// is heard within half a second of the last note.
TEST_P(SongEndingTest, RingsOutAndTheNextSongFollowsClosely)
{
    const QString name = QString::fromLatin1(kSequence[GetParam()]);
    const QByteArray smf = song(name);
    const QByteArray next = song(QString::fromLatin1(kSequence[(GetParam() + 1) % 10]));
    const std::optional<double> length = midiDuration(smf);
    ASSERT_TRUE(length && midiDuration(next));
    SongSynth synth(kRate, soundFontPath());
    ASSERT_TRUE(synth.hasSoundFont());

    constexpr double kFrom = 10;
    Rendering r;
    synth.play(smf, *length, *length - kFrom);
    // As sequential play has it: the device closes the song that ended, then
    // opens and plays the next.
    render(synth, r, kFrom + 1.2, [&] {
        synth.stop();
        synth.play(next, *midiDuration(next));
    });

    ASSERT_EQ(r.ends.size(), 1u);
    const auto lastNote = int64_t(kFrom * kRate);
    EXPECT_GE(r.ends[0], lastNote);
    EXPECT_LE(r.ends[0], lastNote + int64_t(SongSynth::kMaxRingOutSeconds * kRate) + kBlock);
    EXPECT_EQ(cuts(r), std::vector<int64_t>{}) << name.toStdString() << " stops dead";
    // The next song's first note: the first sound well above what rang
    // before it, in windows of 5 ms.
    const int64_t window = kRate / 200;
    int before = 0;
    for (int64_t f = r.ends[0] - window; f < r.ends[0]; ++f)
        before = std::max(before, r.level(f));
    int64_t onset = r.ends[0];
    while (onset < r.frames() && r.level(onset) <= std::max(3 * kHeard, 2 * before))
        ++onset;
    const double gap = double(onset - lastNote) / kRate;
    RecordProperty("gap_ms", int(gap * 1000));
    EXPECT_LE(gap, 0.5) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Shipped, SongEndingTest, ::testing::Range(0, 10),
                         [](const auto& info) { return std::string(kSequence[info.param]); });

// The first seconds of `smf` as SDL2_mixer's own MIDI player synthesizes them:
// a FluidSynth synthesizer with its defaults (reverb, chorus, interpolation,
// voices) at the mixer's rate, music volume at its maximum (gain 1.2), one
// mixer buffer at a time; in float, without the dither of its 16-bit output.
std::vector<float> asSdlMixerPlays(const QByteArray& smf, int frames)
{
    std::vector<float> out(size_t(2 * frames));
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", MixerOutput::kFrequency);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_set_gain(synth, 1.2f);
    fluid_synth_sfload(synth, QFile::encodeName(soundFontPath()).constData(), 1);
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, smf.constData(), size_t(smf.size()));
    fluid_player_play(player);
    for (int f = 0; f < frames; f += MixerOutput::kChunkFrames)
        fluid_synth_write_float(synth, MixerOutput::kChunkFrames, out.data(), 2 * f, 2, out.data(), 2 * f + 1, 2);
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return out;
}

class SongSoundTest : public ::testing::TestWithParam<int> {};

// The game's music costs what an ordinary SDL game's does because it is the
// same synthesis, not a cheaper one: each song sounds exactly as SDL2_mixer's
// own player would play it, rounded to the nearest of 16 bits. Fewer voices,
// no reverb or chorus, another interpolation, rate or gain would be heard, and
// fail here.
TEST_P(SongSoundTest, SoundsAsSdlMixersOwnPlayer)
{
    const QByteArray smf = song(QString::fromLatin1(kSequence[GetParam()]));
    constexpr int kFrames = 4 * MixerOutput::kFrequency / MixerOutput::kChunkFrames * MixerOutput::kChunkFrames;
    const std::vector<float> expected = asSdlMixerPlays(smf, kFrames);
    SongSynth synth(MixerOutput::kFrequency, soundFontPath());
    synth.play(smf, *midiDuration(smf));
    std::vector<int16_t> heard(expected.size());
    for (int f = 0; f < kFrames; f += MixerOutput::kChunkFrames)
        synth.render(heard.data() + 2 * f, MixerOutput::kChunkFrames);
    double worst = 0, loudest = 0;
    for (size_t i = 0; i < heard.size(); ++i) {
        worst = std::max(worst, std::abs(heard[i] - double(expected[i]) * 32768));
        loudest = std::max(loudest, std::abs(double(expected[i])));
    }
    EXPECT_GT(loudest, 0.1) << "the song plays";
    EXPECT_LE(worst, 0.5001) << "steps of 1/32768 from SDL2_mixer's player";
}

INSTANTIATE_TEST_SUITE_P(Shipped, SongSoundTest, ::testing::Range(0, 10),
                         [](const auto& info) { return std::string(kSequence[info.param]); });

// A held string chord of `seconds`, from `at` seconds on.
QByteArray heldChord(double seconds, double at = 0)
{
    const auto ticks = uint32_t(seconds * 960);
    return SmfBuilder().program(0, 0, 48).noteOn(uint32_t(at * 960), 0, 60, 120).noteOn(0, 0, 64, 120)
        .noteOn(0, 0, 67, 120).noteOff(ticks, 0, 60).noteOff(0, 0, 64).noteOff(0, 0, 67).build();
}

struct Change {
    const char* name;
    // When the change comes: 0 at the end of the song, else seconds in.
    double after;
    bool stop;
};

void PrintTo(const Change& c, std::ostream* os) { *os << c.name; }

class SongChangeTest : public ::testing::TestWithParam<Change> {};

// A song stopped, or replaced while it plays, fades out and reports no end.
// A song that ended is closed and the next one played, as sequential play
// does, without cutting it: its last notes ring on through the next song's
// silent first beat. Nothing drops to silence from a level that is heard.
TEST_P(SongChangeTest, NothingStopsDead)
{
    const Change& change = GetParam();
    SongSynth synth(kRate, soundFontPath());
    const QByteArray chord = heldChord(1.5);
    // After a song that ended, the next one's first beat is silent, so that
    // what rings on is heard alone.
    const QByteArray next = heldChord(0.5, change.after > 0 ? 0 : 0.3);
    const auto apply = [&] {
        synth.stop();
        if (!change.stop)
            synth.play(next, *midiDuration(next));
    };
    Rendering r;
    synth.play(chord, *midiDuration(chord));
    int64_t changedAt = 0;
    if (change.after > 0) {
        render(synth, r, change.after);
        ASSERT_GT(r.level(r.frames() - 1), kHeard);
        changedAt = r.frames();
        apply();
        render(synth, r, 0.4);
        EXPECT_TRUE(r.ends.empty());
        // Stopped, a song fades out in 30 ms: 50 ms on, nothing sounds.
        int after = 0;
        for (int64_t f = changedAt + kRate / 20; change.stop && f < changedAt + kRate / 10; ++f)
            after = std::max(after, r.level(f));
        EXPECT_EQ(after, 0) << "still sounding 50 ms after the stop";
    } else {
        render(synth, r, 2, [&] {
            changedAt = r.frames();
            apply();
        });
        ASSERT_EQ(r.ends.size(), 1u);
        EXPECT_GT(r.level(changedAt + kRate / 20), kHeard) << "the chord rings on";
    }
    EXPECT_EQ(synth.active(), !change.stop);
    EXPECT_EQ(cuts(r), std::vector<int64_t>{});
}

INSTANTIATE_TEST_SUITE_P(Changes, SongChangeTest,
                         ::testing::Values(Change{"StopWhilePlaying", 1, true}, Change{"NextWhilePlaying", 1, false},
                                           Change{"NextAfterTheEnd", 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pairly
