#include "sdl_audio_backend.h"

#include "midi_duration.h"
#include "sound_log.h"

#include <QFile>
#include <QFileInfo>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pairly {
namespace {

constexpr int kFrequency = 44100;
// 512 frames is 11.6 ms: a rustle reaches the speaker well inside 50 ms.
constexpr int kChunkFrames = 512;
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

}  // namespace

class SdlMusicStream final : public AudioStream {
public:
    SdlMusicStream(SdlAudioBackend& backend, Mix_Music* music, int64_t endFrames)
        : backend_(backend), music_(music), endFrames_(endFrames)
    {
    }
    ~SdlMusicStream() override
    {
        backend_.stopMusic(this);
        Mix_FreeMusic(music_);
    }

    void play() override { backend_.playMusic(this); }
    void pause() override { backend_.pauseMusic(this); }
    void resume() override { backend_.resumeMusic(this); }
    void stop() override { backend_.stopMusic(this); }

    Mix_Music* music() const { return music_; }
    int64_t endFrames() const { return endFrames_; }
    void ended() const { reportEnd(); }

private:
    SdlAudioBackend& backend_;
    Mix_Music* music_;
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
    if (sdlTaken.exchange(true)) {
        qCWarning(lcSound) << "another audio backend is alive; this one stays mute";
        return;
    }
    ownsSdl_ = true;
    // SDL would otherwise swallow SIGTERM and SIGINT meant for the program.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    Mix_Init(MIX_INIT_MID);
    // This SDL_mixer build ignores SDL_SOUNDFONTS; FluidSynth only learns the
    // SoundFont from this call, and only before the mixer opens.
    Mix_SetSoundFonts(soundFontPath().toLocal8Bit().constData());

    open_ = openMixer();
    if (!open_) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        open_ = openMixer();
    }
    if (!open_)
        return;

    int channels = 2;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&frequency_, &format, &channels);
    bytesPerFrame_ = std::max(1, int(SDL_AUDIO_BITSIZE(format)) / 8 * channels);
    Mix_AllocateChannels(kEffectChannels);
    Mix_SetPostMix(&SdlAudioBackend::postMix, this);
    qCInfo(lcSound) << "audio on driver" << driverName() << "at" << frequency_ << "Hz";
}

SdlAudioBackend::~SdlAudioBackend()
{
    if (!ownsSdl_)
        return;
    if (open_) {
        Mix_SetPostMix(nullptr, nullptr);
        musicActive_ = false;
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    Mix_Quit();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    sdlTaken = false;
}

QString SdlAudioBackend::driverName() const
{
    const char* name = open_ ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

bool SdlAudioBackend::musicSounding() const
{
    return open_ && Mix_PlayingMusic();
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
    const QByteArray localPath = QFile::encodeName(path);

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
        Mix_Chunk* chunk = Mix_LoadWAV(localPath.constData());
        if (!chunk) {
            qCWarning(lcSound) << "cannot load sound" << path << ":" << Mix_GetError();
            return nullptr;
        }
        auto stream = std::make_unique<SdlEffectStream>(*this, chunk, channel);
        channels_[size_t(channel)].owner = stream.get();
        return stream;
    }

    int64_t endFrames = 0;
    QFile file(path);
    const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (const auto timing = midiTiming(content)) {
        const double sounding = timing->lastNoteEnd - timing->firstNote + kEndGraceSeconds;
        endFrames = int64_t(std::ceil(sounding * frequency_));
    } else if (content.startsWith("MThd") || QFileInfo(path).suffix().startsWith("mid", Qt::CaseInsensitive)) {
        // FluidSynth accepts any file named .mid and then "ends" it at once,
        // which would run sequential play through the songs without a sound.
        qCWarning(lcSound) << "not a playable MIDI song:" << path;
        return nullptr;
    }
    Mix_Music* music = Mix_LoadMUS(localPath.constData());
    if (!music) {
        qCWarning(lcSound) << "cannot load song" << path << ":" << Mix_GetError();
        return nullptr;
    }
    return std::make_unique<SdlMusicStream>(*this, music, endFrames);
}

void SdlAudioBackend::postMix(void* self, uint8_t* stream, int length)
{
    static_cast<SdlAudioBackend*>(self)->watchMix(stream, length);
}

// Runs on SDL's audio thread, with the mixer locked, after each buffer has
// been mixed. It counts the frames a song has played, so a song's end is
// measured in audio time, not wall-clock time, and hands every end over to
// the window's thread.
void SdlAudioBackend::watchMix(const uint8_t* stream, int length)
{
    bool effectSounding = false;
    for (const ChannelState& state : channels_)
        effectSounding = effectSounding || state.active;
    if (musicActive_ && !musicPaused_) {
        const int64_t buffer = length / bytesPerFrame_;
        const int64_t frames = musicFrames_ += buffer;
        if (musicStart_ < 0) {
            // The mixer's format is fixed at 16-bit when it opens.
            const auto* samples = reinterpret_cast<const int16_t*>(stream);
            const bool audible = std::any_of(samples, samples + length / 2, [](int16_t v) { return std::abs(v) > 4; });
            if (audible && !effectSounding)
                musicStart_ = frames - buffer;
            else if (frames > int64_t(kSilentStartSeconds * frequency_))
                musicStart_ = 0;
        }
        const int64_t endFrames = musicEndFrames_;
        const bool lastNoteDone = endFrames > 0 && musicStart_ >= 0 && frames - musicStart_ >= endFrames;
        if (lastNoteDone || !Mix_PlayingMusic()) {
            musicActive_ = false;
            const uint64_t generation = musicGeneration_;
            QMetaObject::invokeMethod(&context_, [this, generation] { musicEnded(generation); }, Qt::QueuedConnection);
        }
    }
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

void SdlAudioBackend::playMusic(SdlMusicStream* stream)
{
    musicActive_ = false;
    ++musicGeneration_;
    Mix_HaltMusic();
    musicFrames_ = 0;
    musicStart_ = -1;
    musicEndFrames_ = stream->endFrames();
    musicPaused_ = false;
    currentMusic_ = stream;
    // MIDI cannot be rewound in this SDL_mixer; a fresh play starts at 0.
    if (Mix_PlayMusic(stream->music(), 0) != 0) {
        qCWarning(lcSound) << "cannot play song:" << Mix_GetError();
        currentMusic_ = nullptr;
        return;
    }
    musicActive_ = true;
}

void SdlAudioBackend::pauseMusic(SdlMusicStream* stream)
{
    if (currentMusic_ != stream)
        return;
    musicPaused_ = true;
    Mix_PauseMusic();
}

void SdlAudioBackend::resumeMusic(SdlMusicStream* stream)
{
    if (currentMusic_ != stream)
        return;
    Mix_ResumeMusic();
    musicPaused_ = false;
}

void SdlAudioBackend::stopMusic(SdlMusicStream* stream)
{
    if (currentMusic_ != stream)
        return;
    musicActive_ = false;
    ++musicGeneration_;
    currentMusic_ = nullptr;
    Mix_HaltMusic();
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
