// SPDX-License-Identifier: GPL-3.0-or-later
#include "sdl_audio_backend.h"

#include "midi_duration.h"
#include "sound_log.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

namespace pairly {
namespace {

constexpr int kFrequency = 44100;
// 512 frames is 11.6 ms: a rustle reaches the speaker well inside 50 ms.
constexpr int kChunkFrames = 512;
constexpr double kSynthGain = 1.2;
constexpr char kDebianSoundFont[] = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// SDL's audio state belongs to the whole process.
std::atomic<bool> sdlTaken{false};

bool openMixer()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        qCWarning(lcSound) << "SDL audio init failed:" << SDL_GetError();
        return false;
    }
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, 2, kChunkFrames) != 0) {
        qCWarning(lcSound) << "Mix_OpenAudio failed:" << Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

// FluidSynth reports through its own logger to stderr by default; route its
// warnings and errors into the sound category, which is off unless asked for.
void logFluid(int level, const char* message, void*)
{
    if (level <= FLUID_WARN)
        qCWarning(lcSound) << "FluidSynth:" << message;
    else if (level == FLUID_INFO)
        qCInfo(lcSound) << "FluidSynth:" << message;
}

}  // namespace

void SdlAudioBackend::FluidDelete::operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
void SdlAudioBackend::FluidDelete::operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
void SdlAudioBackend::FluidDelete::operator()(fluid_player_t* player) const { delete_fluid_player(player); }

// A song: the file's bytes (the player copies them at each play) and when its
// last note ends, in frames from the start of the song.
class SdlMusicStream final : public AudioStream {
public:
    SdlMusicStream(SdlAudioBackend& backend, QByteArray smf, int64_t endFrames)
        : backend_(backend), smf_(std::move(smf)), endFrames_(endFrames)
    {
    }
    ~SdlMusicStream() override { backend_.stopMusic(this); }

    void play() override { backend_.playMusic(this); }
    void pause() override { backend_.pauseMusic(this); }
    void resume() override { backend_.resumeMusic(this); }
    void stop() override { backend_.stopMusic(this); }

    const QByteArray& smf() const { return smf_; }
    int64_t endFrames() const { return endFrames_; }
    void ended() const { reportEnd(); }

private:
    SdlAudioBackend& backend_;
    QByteArray smf_;
    int64_t endFrames_;
};

class SdlEffectStream final : public AudioStream {
public:
    SdlEffectStream(SdlAudioBackend& backend, Mix_Chunk* chunk, int channel)
        : backend_(backend), chunk_(chunk), channel_(channel)
    {
    }
    ~SdlEffectStream() override
    {
        backend_.stopEffect(this);
        backend_.releaseChannel(channel_);
        Mix_FreeChunk(chunk_);
    }

    void play() override { backend_.playEffect(this); }
    void pause() override { Mix_Pause(channel_); }
    void resume() override { Mix_Resume(channel_); }
    void stop() override { backend_.stopEffect(this); }

    Mix_Chunk* chunk() const { return chunk_; }
    int channel() const { return channel_; }
    void ended() const { reportEnd(); }

private:
    SdlAudioBackend& backend_;
    Mix_Chunk* chunk_;
    int channel_;
};

SdlAudioBackend::SdlAudioBackend()
{
    // Ends are reported on the application's thread, whichever thread made
    // the backend.
    if (const QCoreApplication* app = QCoreApplication::instance())
        context_.moveToThread(app->thread());
    if (sdlTaken.exchange(true)) {
        qCWarning(lcSound) << "another audio backend is alive; this one stays mute";
        return;
    }
    ownsSdl_ = true;
    openDevice();
}

SdlAudioBackend::~SdlAudioBackend()
{
    if (!ownsSdl_)
        return;
    if (open_) {
        Mix_SetPostMix(nullptr, nullptr);
        Mix_HookMusic(nullptr, nullptr);
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    player_.reset();
    synth_.reset();
    settings_.reset();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    sdlTaken = false;
}

void SdlAudioBackend::openDevice()
{
    // SDL would otherwise swallow SIGTERM and SIGINT meant for the program.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    open_ = openMixer();
    if (!open_) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        open_ = openMixer();
    }
    if (!open_)
        return;

    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&frequency_, &format, &channelCount_);
    loadSynthesizer();
    Mix_AllocateChannels(kEffectChannels);
    Mix_SetPostMix(&SdlAudioBackend::postMix, this);
    Mix_HookMusic(&SdlAudioBackend::renderMusicHook, this);
    qCInfo(lcSound) << "audio on driver" << QString::fromUtf8(SDL_GetCurrentAudioDriver()) << "at" << frequency_ << "Hz";
}

// Without a SoundFont the synthesizer stays silent; songs still run their
// course and end on time.
void SdlAudioBackend::loadSynthesizer()
{
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, &logFluid, nullptr);
    settings_.reset(new_fluid_settings());
    if (!settings_)
        return;
    fluid_settings_setnum(settings_.get(), "synth.sample-rate", frequency_);
    // The level SDL_mixer gives FluidSynth at full music volume; the songs
    // are mixed for it.
    fluid_settings_setnum(settings_.get(), "synth.gain", kSynthGain);
    synth_.reset(new_fluid_synth(settings_.get()));
    if (!synth_)
        return;
    const QByteArray soundFont = QFile::encodeName(soundFontPath());
    if (fluid_synth_sfload(synth_.get(), soundFont.constData(), 1) == FLUID_FAILED)
        qCWarning(lcSound) << "cannot load SoundFont" << soundFontPath() << "; the music is silent";
}

QString SdlAudioBackend::driverName() const
{
    const char* name = open_ ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

bool SdlAudioBackend::musicSounding()
{
    if (!open_)
        return false;
    std::lock_guard lock(musicMutex_);
    return synth_ && fluid_synth_get_active_voice_count(synth_.get()) > 0;
}

QString SdlAudioBackend::soundFontPath()
{
    const QByteArray fromEnvironment = qgetenv("SDL_SOUNDFONTS");
    return fromEnvironment.isEmpty() ? QString::fromLatin1(kDebianSoundFont) : QString::fromLocal8Bit(fromEnvironment);
}

std::unique_ptr<AudioStream> SdlAudioBackend::open(StreamKind kind, const QString& path)
{
    if (!open_)
        return nullptr;
    if (!QFileInfo(path).isFile()) {
        qCWarning(lcSound) << "no such sound file:" << path;
        return nullptr;
    }

    if (kind == StreamKind::Effect) {
        int channel = -1;
        for (int c = 0; c < kEffectChannels && channel < 0; ++c) {
            if (!channels_[size_t(c)].owner)
                channel = c;
        }
        if (channel < 0) {
            qCWarning(lcSound) << "no free effect channel for" << path;
            return nullptr;
        }
        Mix_Chunk* chunk = Mix_LoadWAV(QFile::encodeName(path).constData());
        if (!chunk) {
            qCWarning(lcSound) << "cannot load sound" << path << ":" << Mix_GetError();
            return nullptr;
        }
        auto stream = std::make_unique<SdlEffectStream>(*this, chunk, channel);
        channels_[size_t(channel)].owner = stream.get();
        return stream;
    }

    // The song is checked here, whole, so that a broken file is refused at
    // "open" instead of "ending" at once and running sequential play through
    // the songs without a sound.
    QFile file(path);
    QByteArray smf = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const std::optional<double> length = midiDuration(smf);
    if (!length) {
        qCWarning(lcSound) << "not a playable MIDI song:" << path;
        return nullptr;
    }
    const auto endFrames = int64_t(std::ceil((*length + kEndGraceSeconds) * frequency_));
    return std::make_unique<SdlMusicStream>(*this, std::move(smf), endFrames);
}

void SdlAudioBackend::renderMusicHook(void* self, uint8_t* stream, int length)
{
    static_cast<SdlAudioBackend*>(self)->renderMusic(stream, length);
}

// Runs on SDL's audio thread for each buffer, which comes in silent. The
// synthesizer keeps rendering after a song's end so its last notes ring; a
// song's end is counted in rendered frames, so it follows audio time, not
// wall-clock time, and is handed over to the window's thread.
void SdlAudioBackend::renderMusic(uint8_t* stream, int length)
{
    std::lock_guard lock(musicMutex_);
    if (musicPaused_)
        return;
    const int frames = length / (2 * channelCount_);
    // With no song and no note ringing there is nothing to render: the
    // waiting game costs no synthesis.
    if (synth_ && (musicActive_ || fluid_synth_get_active_voice_count(synth_.get()) > 0)) {
        // Rendered in float and rounded here: FluidSynth's own 16-bit output
        // adds dither noise to the silence between songs.
        rendered_.resize(size_t(2 * frames));
        float* left = rendered_.data();
        fluid_synth_write_float(synth_.get(), frames, left, 0, 2, left, 1, 2);
        auto* out = reinterpret_cast<int16_t*>(stream);
        for (int f = 0; f < frames; ++f) {
            for (int c = 0; c < std::min(channelCount_, 2); ++c) {
                const float v = std::clamp(rendered_[size_t(2 * f + c)] * 32768.0f, -32768.0f, 32767.0f);
                out[f * channelCount_ + c] = int16_t(std::lrint(v));
            }
        }
    }
    if (!musicActive_)
        return;
    musicFrames_ += frames;
    if (musicFrames_ >= musicEndFrames_) {
        musicActive_ = false;
        const uint64_t generation = musicGeneration_;
        QMetaObject::invokeMethod(&context_, [this, generation] { musicEnded(generation); }, Qt::QueuedConnection);
    }
}

void SdlAudioBackend::postMix(void* self, uint8_t*, int)
{
    static_cast<SdlAudioBackend*>(self)->watchEffects();
}

// Runs on SDL's audio thread after each buffer has been mixed.
void SdlAudioBackend::watchEffects()
{
    for (int c = 0; c < kEffectChannels; ++c) {
        ChannelState& state = channels_[size_t(c)];
        if (state.active && !Mix_Playing(c)) {
            state.active = false;
            const uint64_t generation = state.generation;
            QMetaObject::invokeMethod(&context_, [this, c, generation] { effectEnded(c, generation); },
                                      Qt::QueuedConnection);
        }
    }
}

// Each play starts the song from its beginning on a freshly reset
// synthesizer, cutting off whatever song was sounding.
void SdlAudioBackend::playMusic(SdlMusicStream* stream)
{
    std::lock_guard lock(musicMutex_);
    ++musicGeneration_;
    currentMusic_ = stream;
    musicActive_ = true;
    musicPaused_ = false;
    musicFrames_ = 0;
    musicEndFrames_ = stream->endFrames();
    if (!synth_)
        return;
    player_.reset();
    fluid_synth_system_reset(synth_.get());
    player_.reset(new_fluid_player(synth_.get()));
    if (!player_ || fluid_player_add_mem(player_.get(), stream->smf().constData(), size_t(stream->smf().size())) != FLUID_OK
        || fluid_player_play(player_.get()) != FLUID_OK)
        qCWarning(lcSound) << "the synthesizer cannot play this song; it runs its course in silence";
}

void SdlAudioBackend::pauseMusic(SdlMusicStream* stream)
{
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ == stream)
        musicPaused_ = true;
}

void SdlAudioBackend::resumeMusic(SdlMusicStream* stream)
{
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ == stream)
        musicPaused_ = false;
}

void SdlAudioBackend::stopMusic(SdlMusicStream* stream)
{
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ != stream)
        return;
    ++musicGeneration_;
    currentMusic_ = nullptr;
    musicActive_ = false;
    musicPaused_ = false;
    player_.reset();
    if (synth_)
        fluid_synth_all_sounds_off(synth_.get(), -1);
}

void SdlAudioBackend::musicEnded(uint64_t generation)
{
    if (generation == musicGeneration_ && currentMusic_)
        currentMusic_->ended();
}

void SdlAudioBackend::playEffect(SdlEffectStream* stream)
{
    ChannelState& state = channels_[size_t(stream->channel())];
    state.active = false;
    ++state.generation;
    // Playing on a busy channel replaces its sound: a new rustle starts at 0.
    if (Mix_PlayChannel(stream->channel(), stream->chunk(), 0) < 0) {
        qCWarning(lcSound) << "cannot play sound:" << Mix_GetError();
        return;
    }
    state.active = true;
}

void SdlAudioBackend::stopEffect(SdlEffectStream* stream)
{
    ChannelState& state = channels_[size_t(stream->channel())];
    state.active = false;
    ++state.generation;
    Mix_HaltChannel(stream->channel());
}

void SdlAudioBackend::releaseChannel(int channel)
{
    channels_[size_t(channel)].owner = nullptr;
}

void SdlAudioBackend::effectEnded(int channel, uint64_t generation)
{
    const ChannelState& state = channels_[size_t(channel)];
    if (generation == state.generation && state.owner)
        state.owner->ended();
}

}  // namespace pairly
