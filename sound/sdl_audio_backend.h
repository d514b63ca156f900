#pragma once

#include "audio_backend.h"

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>

namespace pairly {

class SdlMusicStream;
class SdlEffectStream;

// The process's sound output over SDL2_mixer: songs on the mixer's music line
// (MIDI through FluidSynth), short sounds as chunks on channels of their own.
// Create one per process, on the window's thread, and let the media devices
// share it; SDL's audio state is global, so a second one alive at the same
// time stays mute. Without an audio device it runs on SDL's "dummy" driver,
// so songs still end on time, in silence.
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
    // Whether the mixer still sounds a song; its last notes ring on for a
    // while after its end has been reported.
    bool musicSounding() const;
    // SDL_SOUNDFONTS when set, otherwise Debian's General-MIDI SoundFont.
    static QString soundFontPath();

    // Songs are reported ended this long after their last note ends, so the
    // final notes can ring without leaving a gap before the next song.
    static constexpr double kEndGraceSeconds = 0.15;
    // A song's clock starts with its first audible buffer (FluidSynth takes a
    // moment to start), or after this long if it never sounds.
    static constexpr double kSilentStartSeconds = 2.0;
    static constexpr int kEffectChannels = 4;

private:
    friend class SdlMusicStream;
    friend class SdlEffectStream;

    struct ChannelState {
        std::atomic<bool> active{false};
        std::atomic<uint64_t> generation{0};
        SdlEffectStream* owner = nullptr;
    };

    static void postMix(void* self, uint8_t* stream, int length);
    void watchMix(const uint8_t* stream, int length);

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
    int bytesPerFrame_ = 4;

    SdlMusicStream* currentMusic_ = nullptr;
    std::atomic<bool> musicActive_{false};
    std::atomic<bool> musicPaused_{false};
    std::atomic<int64_t> musicFrames_{0};
    std::atomic<int64_t> musicStart_{-1};
    std::atomic<int64_t> musicEndFrames_{0};
    std::atomic<uint64_t> musicGeneration_{0};

    std::array<ChannelState, kEffectChannels> channels_;
};

}  // namespace pairly
