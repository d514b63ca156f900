// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio_backend.h"
#include "audio_worker.h"
#include "mixer_output.h"
#include "output_probe.h"
#include "song_synth.h"

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

struct Mix_Chunk;

namespace pairly {

class SdlMusicStream;
class SdlEffectStream;

// The process's sound output over SDL2_mixer: short sounds as chunks on
// channels of their own, songs (MIDI) synthesized by one SongSynth on the
// mixer's music line.
//
// The output is open only while something sounds: it closes after
// quietSeconds of silence, so that a waiting game wakes no one, and opens
// again for the next sound. When the device goes away the game plays on in
// silence, on the stand-in; while it is gone the backend looks for it every
// second, cheaply (OutputProbe), and when it is back it reopens and starts the
// current song again. A loss is noticed whether or not SDL's driver reports
// it: some drivers (SDL's pipewire) just stop asking for samples, so while
// the output is open the backend checks every second that it still mixes.
//
// The device is opened and closed on a thread of the backend's own
// (AudioWorker), as a driver may wait without end inside an opening: a sound
// waits for its opening only openWaitMs, time enough for a server that
// answers, and otherwise goes unheard while the opening goes on; the output is
// used again once it has ended.
//
// Create one per process, on any thread, and let the media devices share it;
// it reports song and sound ends, and runs its timers, on the application's
// thread, and is used from that thread. SDL's audio state is global, so a
// second one alive at the same time stays mute. Loading the SoundFont takes
// a few hundred milliseconds: the program makes it on a thread of its own
// (see ModuleAudioBackend).
class SdlAudioBackend final : public AudioBackend {
public:
    struct Options {
        double quietSeconds = 2.0;
        int lookIntervalMs = 1000;
        // A device that has asked for nothing for this long is lost.
        int watchIntervalMs = 1000;
        // Through a server that answers, an opening takes a few milliseconds.
        int openWaitMs = 100;
    };

    SdlAudioBackend() : SdlAudioBackend(Options{}) {}
    explicit SdlAudioBackend(Options options);
    SdlAudioBackend(const SdlAudioBackend&) = delete;
    SdlAudioBackend& operator=(const SdlAudioBackend&) = delete;
    ~SdlAudioBackend() override;

    std::unique_ptr<AudioStream> open(StreamKind kind, const QString& path) override;

    // Whether sounds can be played at all (on the device or the stand-in).
    bool isOpen() const { return usable_; }
    // Whether the output is open right now (it closes when quiet), and not
    // being opened or closed.
    bool outputOpen() const { return !worker_.busy() && output_->isOpen(); }
    // SDL's audio driver in use ("pulseaudio", "disk", "dummy", ...), empty
    // while the output is closed.
    QString driverName() const { return outputOpen() ? output_->driverName() : QString(); }
    // Whether the synthesizer still has a song or sounding notes.
    bool musicSounding();

    static constexpr int kEffectChannels = 4;

private:
    friend class SdlMusicStream;
    friend class SdlEffectStream;

    struct ChannelState {
        std::atomic<bool> active{false};
        std::atomic<uint64_t> generation{0};
        SdlEffectStream* owner = nullptr;
    };

    bool openOutput();
    void startOpening(bool afresh);
    void opened(bool succeeded, bool triedDevice, bool afresh);
    void noteAttempt(bool succeeded);
    bool somethingPlays();
    int quietMs() const;
    // Closes the output in `ms` if nothing has sounded since quietMs before.
    void closeIfQuietIn(int ms);
    void closeIfQuiet();
    void closed();
    void outputLost(uint64_t opening);
    void watchLater(uint64_t opening, uint64_t mixed);
    void lookLater();
    void lookForOutput();
    void reconnect();

    static void renderMusicHook(void* self, uint8_t* stream, int length);
    void renderMusic(uint8_t* stream, int length);
    static void postMix(void* self, uint8_t* stream, int length);
    void watchOutput();

    void playMusic(SdlMusicStream* stream);
    void pauseMusic(SdlMusicStream* stream);
    void resumeMusic(SdlMusicStream* stream);
    void stopMusic(SdlMusicStream* stream);
    void musicEnded(uint64_t generation);

    void playEffect(SdlEffectStream* stream);
    void stopEffect(SdlEffectStream* stream);
    void releaseChannel(int channel, Mix_Chunk* chunk);
    void freeChunks();
    void effectEnded(int channel, uint64_t generation);

    Options options_;
    QObject context_;
    bool ownsSdl_ = false;
    bool usable_ = false;
    // Counts the openings of the output, so that a loss reported late for a
    // device already closed is recognised.
    std::atomic<uint64_t> openings_{0};
    // Shared with the worker's jobs: a held one keeps it alive.
    std::shared_ptr<MixerOutput> output_;
    AudioWorker worker_;
    // Sounds freed while the worker had the mixer.
    std::vector<Mix_Chunk*> unfreed_;
    OutputProbe probe_;
    // Lost: the device went away, or only the stand-in opened.
    bool lost_ = false;
    bool looking_ = false;
    int failedAttempts_ = 0;
    int64_t nextAttemptMs_ = 0;

    // The synthesizer and the song; the audio thread renders them under
    // musicMutex_, the window's thread changes them under it.
    std::mutex musicMutex_;
    SongSynth synth_;
    uint64_t musicGeneration_ = 0;
    SdlMusicStream* currentMusic_ = nullptr;
    // Whether the synthesizer, and the last mixed buffer, had anything to
    // play, and when something last did; written by the audio thread.
    std::atomic<bool> musicBusy_{false};
    std::atomic<bool> busy_{false};
    std::atomic<int64_t> lastSoundMs_{0};
    // Buffers mixed since the backend was made.
    std::atomic<uint64_t> mixed_{0};

    std::array<ChannelState, kEffectChannels> channels_;
};

}  // namespace pairly
