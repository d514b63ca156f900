// SPDX-License-Identifier: GPL-3.0-or-later
// FluidSynth alone, rendering a song offline with the settings the game gives
// its synthesizer (44.1 kHz, the same gain and channels, the player following
// the samples, in float, in blocks of the mixer's buffer, so that the notes
// fall on the same samples as in the game): what the song's synthesis costs
// by itself, the floor under every player of it.
//     bench_music_offline SONG.mid FROM_SECONDS SECONDS [REPEATS]
// prints "offline_cpu_pct P": the CPU time of rendering SECONDS of the song
// from FROM_SECONDS on, as a percentage of those seconds (the share of a core
// that playing it in real time takes), median of REPEATS runs. SECONDS 0
// renders to the song's end.
#include "sound/mixer_output.h"
#include "sound/sound_font.h"

#include <QFile>

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int kRate = pairly::MixerOutput::kFrequency;
constexpr int kBlock = pairly::MixerOutput::kChunkFrames;

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// One render; returns the CPU share of the timed part, or -1.
double render(const QByteArray& smf, double from, double seconds)
{
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_settings_setnum(settings, "synth.gain", 1.2);
    fluid_settings_setint(settings, "player.reset-synth", 0);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(settings);
    const QByteArray font = QFile::encodeName(pairly::soundFontPath());
    fluid_synth_sfload(synth, font.constData(), 1);
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, smf.constData(), size_t(smf.size()));
    fluid_player_play(player);

    std::vector<float> buffer(2 * kBlock);
    const auto write = [&] { fluid_synth_write_float(synth, kBlock, buffer.data(), 0, 2, buffer.data(), 1, 2); };
    for (long f = 0; f < long(from * kRate); f += kBlock)
        write();
    const double start = threadSeconds();
    long frames = 0;
    while (seconds > 0 ? frames < long(seconds * kRate) : fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
        write();
        frames += kBlock;
    }
    const double used = threadSeconds() - start;
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return frames > 0 ? used / (double(frames) / kRate) * 100.0 : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SONG.mid FROM_SECONDS SECONDS [REPEATS]\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray smf = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    std::vector<double> runs;
    for (int k = 0; k < (argc > 4 ? std::atoi(argv[4]) : 1); ++k)
        runs.push_back(render(smf, std::atof(argv[2]), std::atof(argv[3])));
    std::sort(runs.begin(), runs.end());
    std::printf("offline_cpu_pct %.4f\n", runs[runs.size() / 2]);
    return 0;
}
