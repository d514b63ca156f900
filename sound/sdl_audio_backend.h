// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio_backend.h"

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include <fluidsynth/types.h>

namespace pairly {

class SdlMusicStream;
class SdlEffectStream;

// The process's sound output over SDL2_mixer: short sounds as chunks on
// channels of their own, songs (MIDI) synthesized by one FluidSynth
// synthesizer on the mixer's music line. The synthesizer loads the SoundFont
// once, so a song change costs no reload and no new synthesizer.
//
// Create one per process, on any thread, and let the media devices share it;
// it reports song and sound ends on the application's thread and is used from
// that thread. SDL's audio state is global, so a second one alive at the same
// time stays mute. Opening the audio device and loading the SoundFont take a
// few hundred milliseconds: the program makes it on a thread of its own (see
// ModuleAudioBackend). Without an audio device it runs on SDL's "dummy"
// driver, so songs still end on time, in silence.
class SdlAudioBackend final : public AudioBackend {
public:
    SdlAudioBackend();
    SdlAudioBackend(const SdlAudioBackend&) = delete;
    SdlAudioBackend& operator=(const SdlAudioBackend&) = delete;
    ~SdlAudioBackend() override;

    std::unique_ptr<AudioStream> open(StreamKind kind, const QString& path) override;

    // Whether the mixer could be opened at all; when not, every open fails.
    bool isOpen() const { return open_; }
    // SDL's audio driver in use ("pulseaudio", "disk", "dummy", ...).
    QString driverName() const;
    // Whether the synthesizer still sounds notes; the last notes of a song
    // ring on for a while after its end has been reported.
    bool musicSounding();
    // SDL_SOUNDFONTS when set, otherwise Debian's General-MIDI SoundFont.
    static QString soundFontPath();

    // Songs are reported ended this long after their last note ends, so the
    // final notes can ring without leaving a gap before the next song.
    static constexpr double kEndGraceSeconds = 0.15;
    static constexpr int kEffectChannels = 4;

private:
    friend class SdlMusicStream;
    friend class SdlEffectStream;

    struct ChannelState {
        std::atomic<bool> active{false};
        std::atomic<uint64_t> generation{0};
        SdlEffectStream* owner = nullptr;
    };

    void openDevice();
    void loadSynthesizer();

    static void renderMusicHook(void* self, uint8_t* stream, int length);
    void renderMusic(uint8_t* stream, int length);
    static void postMix(void* self, uint8_t* stream, int length);
    void watchEffects();

    void playMusic(SdlMusicStream* stream);
    void pauseMusic(SdlMusicStream* stream);
    void resumeMusic(SdlMusicStream* stream);
    void stopMusic(SdlMusicStream* stream);
    void musicEnded(uint64_t generation);

    void playEffect(SdlEffectStream* stream);
    void stopEffect(SdlEffectStream* stream);
    void releaseChannel(int channel);
    void effectEnded(int channel, uint64_t generation);

    QObject context_;
    bool open_ = false;
    bool ownsSdl_ = false;
    int frequency_ = 44100;
    int channelCount_ = 2;

    // The synthesizer and the song's player; the audio thread renders them
    // under musicMutex_, the window's thread changes them under it.
    struct FluidDelete {
        void operator()(fluid_settings_t* settings) const;
        void operator()(fluid_synth_t* synth) const;
        void operator()(fluid_player_t* player) const;
    };
    std::mutex musicMutex_;
    std::unique_ptr<fluid_settings_t, FluidDelete> settings_;
    std::unique_ptr<fluid_synth_t, FluidDelete> synth_;
    std::unique_ptr<fluid_player_t, FluidDelete> player_;
    std::vector<float> rendered_;
    bool musicActive_ = false;
    bool musicPaused_ = false;
    int64_t musicFrames_ = 0;
    int64_t musicEndFrames_ = 0;
    std::atomic<uint64_t> musicGeneration_{0};
    SdlMusicStream* currentMusic_ = nullptr;

    std::array<ChannelState, kEffectChannels> channels_;
};

}  // namespace pairly
