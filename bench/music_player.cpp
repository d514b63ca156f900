// SPDX-License-Identifier: GPL-3.0-or-later
// One song played by SDL2_mixer's own MIDI player (Mix_LoadMUS, what an
// ordinary SDL game does), or by the game's sound output alone (no window),
// with the mixer settings the game uses: 44.1 kHz, 16-bit stereo, 1024-frame
// buffers, the same SoundFont.
//     bench_music_player mixer|game SONG.mid SECONDS
// prints "cpu_pct P" and "wakeups_per_s W": the whole process's CPU (% of a
// core) and wake-ups over SECONDS, from the song's second second on.
//
// On SDL's disk driver (SDL_DISKAUDIOFILE, SDL_DISKAUDIODELAY=0) it renders
// the song's first 1 + SECONDS seconds as fast as it can, and stops: the same
// work for both players, whose instructions per buffer callgrind counts
// (--separate-threads=yes; the audio thread's cost over its calls of
// fluid_synth_write_*).
#include "bench/process_usage.h"

#include "sound/mixer_output.h"
#include "sound/sdl_audio_backend.h"
#include "sound/sound_font.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

namespace pairly::bench {
namespace {

constexpr int kBytesPerSecond = MixerOutput::kFrequency * MixerOutput::kChannels * 2;

// Waits `seconds` of wall-clock time or, on the disk driver, until that much
// more audio has been written; `wait` sleeps between looks.
class Pace {
public:
    explicit Pace(std::function<void(int ms)> wait)
        : wait_(std::move(wait)),
          file_(qgetenv("SDL_AUDIODRIVER") == "disk" ? QString::fromLocal8Bit(qgetenv("SDL_DISKAUDIOFILE")) : QString()),
          written_(file_.isEmpty() ? 0 : QFileInfo(file_).size())
    {
    }

    void await(double seconds)
    {
        if (file_.isEmpty()) {
            wait_(int(seconds * 1000));
            return;
        }
        // The file holds everything written since the output opened, the
        // silence before the song began included.
        written_ += qint64(seconds * kBytesPerSecond);
        while (QFileInfo(file_).size() < written_)
            wait_(1);
    }

private:
    std::function<void(int ms)> wait_;
    QString file_;
    qint64 written_;
};

void measure(double seconds, std::function<void(int ms)> wait)
{
    Pace pace(std::move(wait));
    pace.await(1);
    const ProcessUsage before = ProcessUsage::now();
    const auto start = std::chrono::steady_clock::now();
    pace.await(seconds);
    const ProcessUsage after = ProcessUsage::now();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("cpu_pct %.4f\nwakeups_per_s %.4f\n", (after.cpu - before.cpu) / elapsed * 100.0,
                double(after.switches - before.switches) / elapsed);
}

int playOnMixer(const char* song, double seconds)
{
    // FluidSynth only, never Timidity: the same synthesizer as the game's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint("SDL_MIXER_DISABLE_TIMIDITY", "1");
    SDL_SetHint("SDL_MIXER_DISABLE_NATIVEMIDI", "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0
        || Mix_OpenAudioDevice(MixerOutput::kFrequency, AUDIO_S16SYS, MixerOutput::kChannels,
                               MixerOutput::kChunkFrames, nullptr, 0)
               != 0) {
        std::fprintf(stderr, "cannot open the mixer: %s\n", SDL_GetError());
        return 1;
    }
    Mix_SetSoundFonts(QFile::encodeName(soundFontPath()).constData());
    Mix_Music* music = Mix_LoadMUS(song);
    if (!music || Mix_PlayMusic(music, 0) != 0) {
        std::fprintf(stderr, "cannot play %s: %s\n", song, Mix_GetError());
        return 1;
    }
    measure(seconds, [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); });
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}

int playOnGame(int argc, char** argv, const char* song, double seconds)
{
    QCoreApplication app(argc, argv);
    SdlAudioBackend backend;
    std::unique_ptr<AudioStream> stream = backend.open(StreamKind::Music, QString::fromLocal8Bit(song));
    if (!stream) {
        std::fprintf(stderr, "cannot play %s\n", song);
        return 1;
    }
    stream->play();
    measure(seconds, [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    });
    return 0;
}

}  // namespace
}  // namespace pairly::bench

int main(int argc, char** argv)
{
    if (argc < 4 || (std::strcmp(argv[1], "mixer") != 0 && std::strcmp(argv[1], "game") != 0)) {
        std::fprintf(stderr, "usage: %s mixer|game SONG.mid SECONDS\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[3]);
    return std::strcmp(argv[1], "mixer") == 0 ? pairly::bench::playOnMixer(argv[2], seconds)
                                              : pairly::bench::playOnGame(argc, argv, argv[2], seconds);
}
