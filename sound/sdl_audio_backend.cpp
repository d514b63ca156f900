// SPDX-License-Identifier: GPL-3.0-or-later
#include "sdl_audio_backend.h"

#include "midi_duration.h"
#include "sound_font.h"
#include "sound_log.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>

namespace pairly {
namespace {

// SDL's audio state belongs to the whole process.
std::atomic<bool> sdlTaken{false};

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// A song: the file's bytes (the player copies them at each play) and when its
// last note ends.
class SdlMusicStream final : public AudioStream {
public:
    SdlMusicStream(SdlAudioBackend& backend, QByteArray smf, double length)
        : backend_(backend), smf_(std::move(smf)), length_(length)
    {
    }
    ~SdlMusicStream() override { backend_.stopMusic(this); }

    void play() override { backend_.playMusic(this); }
    void pause() override { backend_.pauseMusic(this); }
    void resume() override { backend_.resumeMusic(this); }
    void stop() override { backend_.stopMusic(this); }

    const QByteArray& smf() const { return smf_; }
    double length() const { return length_; }
    void ended() const { reportEnd(); }

private:
    SdlAudioBackend& backend_;
    QByteArray smf_;
    double length_;
};

// A short sound: the file's bytes, converted for the mixer when it first
// plays (SDL_mixer converts only for an open mixer).
class SdlEffectStream final : public AudioStream {
public:
    SdlEffectStream(SdlAudioBackend& backend, QByteArray wave, int channel)
        : backend_(backend), wave_(std::move(wave)), channel_(channel)
    {
    }
    ~SdlEffectStream() override
    {
        backend_.stopEffect(this);
        backend_.releaseChannel(channel_, chunk_);
    }

    void play() override { backend_.playEffect(this); }
    void pause() override
    {
        if (backend_.outputOpen())
            Mix_Pause(channel_);
    }
    void resume() override
    {
        if (backend_.outputOpen())
            Mix_Resume(channel_);
    }
    void stop() override { backend_.stopEffect(this); }

    // Whether the bytes are a sound SDL can read; this needs no mixer.
    bool readable() const
    {
        SDL_AudioSpec spec;
        Uint8* samples = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(wave_.constData(), int(wave_.size())), 1, &spec, &samples, &length))
            return false;
        SDL_FreeWAV(samples);
        return true;
    }
    // For the open mixer.
    Mix_Chunk* chunk()
    {
        if (!chunk_)
            chunk_ = Mix_LoadWAV_RW(SDL_RWFromConstMem(wave_.constData(), int(wave_.size())), 1);
        return chunk_;
    }
    int channel() const { return channel_; }
    void ended() const { reportEnd(); }

private:
    SdlAudioBackend& backend_;
    QByteArray wave_;
    Mix_Chunk* chunk_ = nullptr;
    int channel_;
};

SdlAudioBackend::SdlAudioBackend(Options options)
    : options_(options),
      output_(std::make_shared<MixerOutput>([this] {
          // On SDL's audio thread: the device of this opening went away.
          const uint64_t opening = openings_;
          QMetaObject::invokeMethod(&context_, [this, opening] { outputLost(opening); }, Qt::QueuedConnection);
      })),
      worker_(context_),
      synth_(MixerOutput::kFrequency, soundFontPath())
{
    // Ends are reported, and timers run, on the application's thread,
    // whichever thread made the backend.
    if (const QCoreApplication* app = QCoreApplication::instance())
        context_.moveToThread(app->thread());
    if (sdlTaken.exchange(true)) {
        qCWarning(lcSound) << "another audio backend is alive; this one stays mute";
        return;
    }
    ownsSdl_ = true;
    usable_ = true;
    // One opening, early, settles whether the device works (a driver can
    // start without a device it can open: ALSA without a sound card) and
    // starts SDL's audio, so that the first sound's opening is quick. Nothing
    // plays yet.
    worker_.run(
        [output = output_] {
            const bool opened = output->open();
            output->close();
            return opened;
        },
        [this](bool opened) {
            usable_ = opened;
            noteAttempt(!output_->onStandIn());
            lost_ = output_->onStandIn();
            closed();
        });
}

SdlAudioBackend::~SdlAudioBackend()
{
    if (!ownsSdl_)
        return;
    // The audio thread stops before the synthesizer and the channels go. An
    // opening held inside its driver is left to end with the process: the
    // output it opens calls nothing of this backend's.
    output_->stopReporting();
    using namespace std::chrono_literals;
    if (worker_.finish([output = output_] {
            output->reset();
            sdlTaken = false;
        }, 500ms))
        freeChunks();
}

// Whether the output is open for a sound now. A closing begun a moment ago
// ends first; an opening not done within openWaitMs goes on without the
// caller, and the sound is not heard.
bool SdlAudioBackend::openOutput()
{
    const std::chrono::milliseconds wait(options_.openWaitMs);
    worker_.wait(wait);
    if (!worker_.busy() && !output_->isOpen()) {
        startOpening(false);
        worker_.wait(wait);
    }
    return outputOpen();
}

// Opens the output, after closing it and letting SDL forget its drivers if
// `afresh`: on the device unless it is lost and no look says it may be back,
// otherwise on the stand-in.
void SdlAudioBackend::startOpening(bool afresh)
{
    // While the device is lost, a look comes before a costly attempt.
    const bool tryDevice = !lost_ || (nowMs() >= nextAttemptMs_ && probe_.mayBeBack());
    worker_.run(
        [output = output_, tryDevice, afresh] {
            if (afresh)
                output->reset();
            return output->open(!tryDevice);
        },
        [this, tryDevice, afresh](bool succeeded) { opened(succeeded, tryDevice, afresh); });
}

void SdlAudioBackend::opened(bool succeeded, bool triedDevice, bool afresh)
{
    freeChunks();
    usable_ = succeeded;
    if (!succeeded)
        return;
    const uint64_t opening = ++openings_;
    if (triedDevice)
        noteAttempt(!output_->onStandIn());
    lost_ = output_->onStandIn();
    Mix_AllocateChannels(kEffectChannels);
    Mix_SetPostMix(&SdlAudioBackend::postMix, this);
    Mix_HookMusic(&SdlAudioBackend::renderMusicHook, this);
    lastSoundMs_ = nowMs();
    // From here the output closes when nothing comes to play; while it only
    // stands in, the device is looked for, and while it is on the device, the
    // device is watched.
    closeIfQuietIn(quietMs());
    if (lost_)
        lookLater();
    else
        watchLater(opening, mixed_);
    if (!afresh || lost_)
        return;
    qCInfo(lcSound) << "audio output back";
    // The song that played on in silence starts again from its beginning.
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ && synth_.playing()) {
        ++musicGeneration_;
        synth_.play(currentMusic_->smf(), currentMusic_->length());
    }
}

void SdlAudioBackend::noteAttempt(bool succeeded)
{
    // Attempts that fail although the look said yes come ever more rarely,
    // the first again at the next look: a server accepts clients a moment
    // before it lists its outputs.
    failedAttempts_ = succeeded ? 0 : std::min(failedAttempts_ + 1, 5);
    nextAttemptMs_ = succeeded ? 0 : nowMs() + (int64_t(options_.lookIntervalMs) << failedAttempts_) / 4;
}

bool SdlAudioBackend::somethingPlays()
{
    if (busy_)
        return true;
    {
        std::lock_guard lock(musicMutex_);
        if (synth_.active())
            return true;
    }
    return outputOpen() && Mix_Playing(-1) > 0;
}

int SdlAudioBackend::quietMs() const
{
    return int(options_.quietSeconds * 1000);
}

void SdlAudioBackend::closeIfQuietIn(int ms)
{
    QTimer::singleShot(ms, &context_, [this] { closeIfQuiet(); });
}

void SdlAudioBackend::closeIfQuiet()
{
    if (!outputOpen() || somethingPlays())
        return;
    const int64_t quietFor = nowMs() - lastSoundMs_;
    if (quietFor < quietMs()) {
        closeIfQuietIn(int(quietMs() - quietFor));
        return;
    }
    worker_.run(
        [output = output_] {
            output->close();
            return true;
        },
        [this](bool) { closed(); });
}

// Once a job has left the output closed: a song asked for while the worker
// had the mixer plays now.
void SdlAudioBackend::closed()
{
    freeChunks();
    if (usable_ && !worker_.busy() && musicSounding())
        startOpening(false);
}

void SdlAudioBackend::outputLost(uint64_t opening)
{
    if (opening != openings_ || !outputOpen() || lost_)
        return;
    qCWarning(lcSound) << "audio output lost; playing on in silence";
    reconnect();
}

// One check a second, for the opening's life, costs nothing while the output
// is closed: the chain ends with the opening it watches.
void SdlAudioBackend::watchLater(uint64_t opening, uint64_t mixed)
{
    QTimer::singleShot(options_.watchIntervalMs, &context_, [this, opening, mixed] {
        if (opening != openings_ || !outputOpen() || lost_)
            return;
        if (mixed_ == mixed) {
            qCWarning(lcSound) << "the audio driver stopped asking for samples";
            outputLost(opening);
            return;
        }
        watchLater(opening, mixed_.load());
    });
}

void SdlAudioBackend::lookLater()
{
    if (looking_)
        return;
    looking_ = true;
    QTimer::singleShot(options_.lookIntervalMs, &context_, [this] { lookForOutput(); });
}

// Runs every second while the output is open but lost; while it is closed,
// the next sound looks instead. An opening looks again once it has ended.
void SdlAudioBackend::lookForOutput()
{
    looking_ = false;
    if (!lost_ || !outputOpen())
        return;
    if (nowMs() >= nextAttemptMs_ && probe_.mayBeBack())
        reconnect();
    else
        lookLater();
}

// Opens the output again after a loss: on the device if it may be back (a
// server restarted at once, or one that only stopped asking), otherwise on the
// stand-in. Some drivers keep calling the mixer after a loss, others stop: on
// the stand-in the song keeps its time either way, and still ends.
void SdlAudioBackend::reconnect()
{
    lost_ = true;
    startOpening(true);
}

bool SdlAudioBackend::musicSounding()
{
    std::lock_guard lock(musicMutex_);
    return synth_.active();
}

std::unique_ptr<AudioStream> SdlAudioBackend::open(StreamKind kind, const QString& path)
{
    if (!usable_)
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
        QFile file(path);
        auto stream = std::make_unique<SdlEffectStream>(
            *this, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), channel);
        if (!stream->readable()) {
            qCWarning(lcSound) << "cannot load sound" << path << ":" << SDL_GetError();
            return nullptr;
        }
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
    return std::make_unique<SdlMusicStream>(*this, std::move(smf), *length);
}

void SdlAudioBackend::renderMusicHook(void* self, uint8_t* stream, int length)
{
    static_cast<SdlAudioBackend*>(self)->renderMusic(stream, length);
}

// Runs on SDL's audio thread for each buffer, which comes in silent. A song's
// end follows audio time, not the wall clock, and is handed over to the
// window's thread.
void SdlAudioBackend::renderMusic(uint8_t* stream, int length)
{
    std::lock_guard lock(musicMutex_);
    const int frames = length / (2 * MixerOutput::kChannels);
    const bool ended = synth_.render(reinterpret_cast<int16_t*>(stream), frames);
    musicBusy_ = synth_.active();
    if (ended) {
        const uint64_t generation = musicGeneration_;
        QMetaObject::invokeMethod(&context_, [this, generation] { musicEnded(generation); }, Qt::QueuedConnection);
    }
}

void SdlAudioBackend::postMix(void* self, uint8_t*, int)
{
    static_cast<SdlAudioBackend*>(self)->watchOutput();
}

// Runs on SDL's audio thread after each buffer has been mixed: reports the
// ends of sounds, and the moment the output falls quiet.
void SdlAudioBackend::watchOutput()
{
    ++mixed_;
    bool busy = musicBusy_;
    for (int c = 0; c < kEffectChannels; ++c) {
        ChannelState& state = channels_[size_t(c)];
        const bool playing = Mix_Playing(c) > 0;
        busy = busy || playing;
        if (state.active && !playing) {
            state.active = false;
            const uint64_t generation = state.generation;
            QMetaObject::invokeMethod(&context_, [this, c, generation] { effectEnded(c, generation); },
                                      Qt::QueuedConnection);
        }
    }
    if (busy)
        lastSoundMs_ = nowMs();
    if (busy_.exchange(busy) && !busy)
        QMetaObject::invokeMethod(&context_, [this] { closeIfQuietIn(quietMs()); }, Qt::QueuedConnection);
}

void SdlAudioBackend::playMusic(SdlMusicStream* stream)
{
    openOutput();
    std::lock_guard lock(musicMutex_);
    ++musicGeneration_;
    currentMusic_ = stream;
    lastSoundMs_ = nowMs();
    synth_.play(stream->smf(), stream->length());
}

void SdlAudioBackend::pauseMusic(SdlMusicStream* stream)
{
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ == stream)
        synth_.setPaused(true);
}

void SdlAudioBackend::resumeMusic(SdlMusicStream* stream)
{
    openOutput();
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ == stream)
        synth_.setPaused(false);
}

void SdlAudioBackend::stopMusic(SdlMusicStream* stream)
{
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ != stream)
        return;
    ++musicGeneration_;
    currentMusic_ = nullptr;
    synth_.stop();
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
    if (!openOutput())
        return;
    lastSoundMs_ = nowMs();
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
    if (outputOpen())
        Mix_HaltChannel(stream->channel());
}

void SdlAudioBackend::releaseChannel(int channel, Mix_Chunk* chunk)
{
    channels_[size_t(channel)].owner = nullptr;
    unfreed_.push_back(chunk);
    if (!worker_.busy())
        freeChunks();
}

// Freeing a sound halts the channels that still play it: the mixer must not
// be the worker's meanwhile.
void SdlAudioBackend::freeChunks()
{
    for (Mix_Chunk* chunk : std::exchange(unfreed_, {}))
        Mix_FreeChunk(chunk);
}

void SdlAudioBackend::effectEnded(int channel, uint64_t generation)
{
    const ChannelState& state = channels_[size_t(channel)];
    if (generation == state.generation && state.owner)
        state.owner->ended();
}

}  // namespace pairly
