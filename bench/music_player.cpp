// SPDX-License-Identifier: GPL-3.0-or-later
// One song played by SDL2_mixer's own MIDI player (Mix_LoadMUS, what an
// ordinary SDL game does), or by the game's sound output alone (no window),
// with the mixer settings the game uses: 44.1 kHz, 16-bit stereo, 1024-frame
// buffers, the same SoundFont.
//     bench_music_player mixer|game SONG.mid SECONDS [counted]
// prints "cpu_pct P" and "wakeups_per_s W": the whole process's CPU (% of a
// core) and wake-ups over SECONDS, from the song's second second on.
//
// "counted" is for callgrind (--instr-atstart=no), best on SDL's disk driver
// (SDL_DISKAUDIOFILE, SDL_DISKAUDIODELAY=0), which mixes as fast as it can:
// the song starts on the first buffer mixed after it is asked for (the device
// is locked meanwhile), and instrumentation runs from the end of the song's
// buffer 1 s in to the end of the buffer SECONDS later, both marked on the
// audio thread by a post-mix effect. Between them lie exactly the same whole
// buffers of the song for both players, whatever the scheduling, each with
// one call of fluid_synth_write_*; it prints "buffers N".
#include "bench/process_usage.h"

#include "sound/mixer_output.h"
#include "sound/sdl_audio_backend.h"
#include "sound/sound_font.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace pairly::bench {
namespace {

using Wait = std::function<void(int ms)>;

void measure(double seconds, const Wait& wait)
{
    wait(1000);
    const ProcessUsage before = ProcessUsage::now();
    const auto start = std::chrono::steady_clock::now();
    wait(int(seconds * 1000));
    const ProcessUsage after = ProcessUsage::now();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("cpu_pct %.4f\nwakeups_per_s %.4f\n", (after.cpu - before.cpu) / elapsed * 100.0,
                double(after.switches - before.switches) / elapsed);
}

// Marks the counted buffers from SDL2_mixer's post-mix effects, which run on
// the audio thread after the music of each buffer, for both players alike.
class BufferWindow {
public:
    explicit BufferWindow(double seconds)
        : from_(std::lround(1.0 * MixerOutput::kFrequency / MixerOutput::kChunkFrames)),
          count_(std::lround(seconds * MixerOutput::kFrequency / MixerOutput::kChunkFrames))
    {
    }

    // With the device locked, right before the song is asked for: the next
    // buffer mixed is the song's first.
    bool arm()
    {
        return Mix_RegisterEffect(MIX_CHANNEL_POST, &BufferWindow::mixed, nullptr, this) != 0;
    }

    void await(const Wait& wait)
    {
        while (!done_)
            wait(20);
        Mix_UnregisterEffect(MIX_CHANNEL_POST, &BufferWindow::mixed);
        std::printf("buffers %ld\n", count_);
    }

private:
    static void mixed(int, void*, int, void* self)
    {
        auto* window = static_cast<BufferWindow*>(self);
        const long seen = ++window->seen_;
        if (seen == window->from_) {
            CALLGRIND_START_INSTRUMENTATION;
        } else if (seen == window->from_ + window->count_) {
            CALLGRIND_STOP_INSTRUMENTATION;
            window->done_ = true;
        }
    }

    long from_;
    long count_;
    long seen_ = 0;
    std::atomic<bool> done_{false};
};

// The device SDL2_mixer opened (the process's only one), to hold the audio
// thread between two buffers.
SDL_AudioDeviceID openDevice()
{
    for (SDL_AudioDeviceID id = 1; id <= 16; ++id) {
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING)
            return id;
    }
    return 0;
}

// Starts the song with `play`, at a buffer's start when counting.
bool startSong(BufferWindow* window, const std::function<bool()>& play)
{
    if (!window)
        return play();
    const SDL_AudioDeviceID device = openDevice();
    if (device == 0)
        return false;
    SDL_LockAudioDevice(device);
    const bool started = window->arm() && play();
    SDL_UnlockAudioDevice(device);
    return started;
}

int playOnMixer(const char* song, double seconds, bool counted)
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
    std::optional<BufferWindow> window;
    if (counted)
        window.emplace(seconds);
    if (!music || !startSong(window ? &*window : nullptr, [music] { return Mix_PlayMusic(music, 0) == 0; })) {
        std::fprintf(stderr, "cannot play %s: %s\n", song, Mix_GetError());
        return 1;
    }
    const Wait wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    if (window)
        window->await(wait);
    else
        measure(seconds, wait);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}

int playOnGame(int argc, char** argv, const char* song, double seconds, bool counted)
{
    QCoreApplication app(argc, argv);
    const Wait wait = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    // Made before the backend, so that it outlives the audio thread.
    std::optional<BufferWindow> window;
    SdlAudioBackend backend;
    std::unique_ptr<AudioStream> stream = backend.open(StreamKind::Music, QString::fromLocal8Bit(song));
    if (!stream) {
        std::fprintf(stderr, "cannot play %s\n", song);
        return 1;
    }
    if (counted) {
        window.emplace(seconds);
        // The output opens for the rustle, which is cut at once: then the
        // song starts on an open output, at a buffer's start.
        const QString rustle = QFileInfo(QString::fromLocal8Bit(song)).dir().filePath(QStringLiteral("../carta.wav"));
        std::unique_ptr<AudioStream> opener = backend.open(StreamKind::Effect, rustle);
        if (!opener) {
            std::fprintf(stderr, "cannot open the output with %s\n", qPrintable(rustle));
            return 1;
        }
        // A rustle asked for while the backend's first opening still runs
        // is not heard, and opens nothing: it is asked for again.
        while (!backend.outputOpen()) {
            opener->play();
            wait(20);
        }
        opener->stop();
    }
    if (!startSong(window ? &*window : nullptr, [&stream] {
            stream->play();
            return true;
        })) {
        std::fprintf(stderr, "cannot play %s\n", song);
        return 1;
    }
    if (window)
        window->await(wait);
    else
        measure(seconds, wait);
    return 0;
}

}  // namespace
}  // namespace pairly::bench

int main(int argc, char** argv)
{
    if (argc < 4 || (std::strcmp(argv[1], "mixer") != 0 && std::strcmp(argv[1], "game") != 0)) {
        std::fprintf(stderr, "usage: %s mixer|game SONG.mid SECONDS [counted]\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[3]);
    const bool counted = argc > 4 && std::strcmp(argv[4], "counted") == 0;
    return std::strcmp(argv[1], "mixer") == 0 ? pairly::bench::playOnMixer(argv[2], seconds, counted)
                                              : pairly::bench::playOnGame(argc, argv, argv[2], seconds, counted);
}
