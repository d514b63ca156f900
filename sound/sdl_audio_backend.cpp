// SPDX-License-Identifier: GPL-3.0-or-later
#include "sdl_audio_backend.h"

#include "midi_duration.h"
#include "sound_font.h"
#include "sound_log.h"
#include "wave_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

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

// A short sound, converted for the output, on a channel of its own.
class SdlEffectStream final : public AudioStream {
public:
    SdlEffectStream(SdlAudioBackend& backend, std::vector<int16_t> sound, int channel)
        : backend_(backend), sound_(std::move(sound)), channel_(channel)
    {
    }
    ~SdlEffectStream() override
    {
        backend_.stopEffect(this);
        backend_.releaseChannel(channel_);
    }

    void play() override { backend_.playEffect(this); }
    void pause() override { backend_.pauseEffect(this, true); }
    void resume() override { backend_.pauseEffect(this, false); }
    void stop() override { backend_.stopEffect(this); }

    const std::vector<int16_t>& sound() const { return sound_; }
    int channel() const { return channel_; }
    void ended() const { reportEnd(); }

private:
    SdlAudioBackend& backend_;
    std::vector<int16_t> sound_;
    int channel_;
};

SdlAudioBackend::SdlAudioBackend(Options options)
    : options_(options),
      output_([this](Line line, int16_t* frames, int count) { render(line, frames, count); },
              [this] {
                  // On an audio thread: a device of this opening went away.
                  const uint64_t opening = openings_;
                  QMetaObject::invokeMethod(&context_, [this, opening] { outputLost(opening); },
                                            Qt::QueuedConnection);
              }),
      synth_(SdlOutput::kFrequency, soundFontPath())
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
    // Starting SDL's audio (connecting to the sound server, listing the
    // devices) is the slow part; opening a line later takes a few ms.
    usable_ = output_.prepare();
    lost_ = output_.onStandIn();
}

SdlAudioBackend::~SdlAudioBackend()
{
    if (!ownsSdl_)
        return;
    // The audio threads stop before the synthesizer and the channels go.
    output_.shutDown();
    sdlTaken = false;
}

bool SdlAudioBackend::openLine(Line line)
{
    if (output_.isOpen(line))
        return true;
    // While the device is lost, a look comes before a costly attempt.
    const bool tryDevice = !lost_ || (nowMs() >= nextAttemptMs_ && probe_.mayBeBack());
    if (!output_.open(line, !tryDevice))
        return false;
    ++openings_;
    if (tryDevice)
        noteAttempt(!output_.onStandIn());
    lost_ = output_.onStandIn();
    lines_[line].lastSoundMs = nowMs();
    // From here the line closes when nothing comes to play on it, and while
    // the output only stands in, the device is looked for.
    QMetaObject::invokeMethod(
        &context_,
        [this, line] {
            closeLaterIfQuiet(line);
            if (lost_)
                lookLater();
        },
        Qt::QueuedConnection);
    return true;
}

void SdlAudioBackend::noteAttempt(bool succeeded)
{
    // Attempts that fail although the look said yes come ever more rarely.
    failedAttempts_ = succeeded ? 0 : std::min(failedAttempts_ + 1, 5);
    nextAttemptMs_ = succeeded ? 0 : nowMs() + (int64_t(1000) << failedAttempts_);
}

bool SdlAudioBackend::linePlays(Line line)
{
    if (lines_[line].busy)
        return true;
    if (line == Line::Music) {
        std::lock_guard lock(musicMutex_);
        return synth_.active();
    }
    std::lock_guard lock(effectsMutex_);
    return std::any_of(channels_.begin(), channels_.end(), [](const Channel& c) { return c.playing && !c.paused; });
}

void SdlAudioBackend::closeLaterIfQuiet(Line line)
{
    QTimer::singleShot(int(options_.quietSeconds * 1000), &context_, [this, line] { closeIfQuiet(line); });
}

void SdlAudioBackend::closeIfQuiet(Line line)
{
    if (!output_.isOpen(line) || linePlays(line))
        return;
    const int64_t quietFor = nowMs() - lines_[line].lastSoundMs;
    const auto quietMs = int64_t(options_.quietSeconds * 1000);
    if (quietFor < quietMs) {
        QTimer::singleShot(int(quietMs - quietFor), &context_, [this, line] { closeIfQuiet(line); });
        return;
    }
    output_.close(line);
}

void SdlAudioBackend::outputLost(uint64_t opening)
{
    if (opening != openings_ || !output_.anyOpen() || lost_)
        return;
    qCWarning(lcSound) << "audio output lost; playing on in silence";
    lost_ = true;
    lookLater();
}

void SdlAudioBackend::lookLater()
{
    if (looking_)
        return;
    looking_ = true;
    QTimer::singleShot(options_.lookIntervalMs, &context_, [this] { lookForOutput(); });
}

// Runs every second while a line is open but the device is lost; while both
// are closed, the next sound looks instead.
void SdlAudioBackend::lookForOutput()
{
    looking_ = false;
    if (!lost_ || !output_.anyOpen())
        return;
    if (nowMs() >= nextAttemptMs_ && probe_.mayBeBack())
        reconnect();
    if (lost_ && output_.anyOpen())
        lookLater();
}

void SdlAudioBackend::reconnect()
{
    ++openings_;
    const bool back = output_.restart();
    noteAttempt(back);
    lost_ = !back;
    if (!back)
        return;
    qCInfo(lcSound) << "audio output back";
    // The song that played on in silence starts again from its beginning.
    std::lock_guard lock(musicMutex_);
    if (currentMusic_ && synth_.playing()) {
        ++musicGeneration_;
        synth_.play(currentMusic_->smf(), currentMusic_->length());
    }
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
        std::optional<std::vector<int16_t>> sound = loadWave(path);
        if (!sound)
            return nullptr;
        auto stream = std::make_unique<SdlEffectStream>(*this, std::move(*sound), channel);
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

// Runs on a line's audio thread for each buffer, which comes in silent.
void SdlAudioBackend::render(Line line, int16_t* frames, int count)
{
    if (line == Line::Music)
        renderMusic(frames, count);
    else
        renderEffects(frames, count);
}

// A song's end follows audio time, not the wall clock, and is handed over to
// the window's thread.
void SdlAudioBackend::renderMusic(int16_t* frames, int count)
{
    std::lock_guard lock(musicMutex_);
    const SongSynth::Block block = synth_.render(frames, count, SdlOutput::kChannels);
    if (block.ended) {
        const uint64_t generation = musicGeneration_;
        QMetaObject::invokeMethod(&context_, [this, generation] { musicEnded(generation); }, Qt::QueuedConnection);
    }
    noteActivity(Line::Music, synth_.active());
}

void SdlAudioBackend::renderEffects(int16_t* frames, int count)
{
    std::lock_guard lock(effectsMutex_);
    bool busy = false;
    for (int c = 0; c < kEffectChannels; ++c) {
        Channel& channel = channels_[size_t(c)];
        if (!channel.playing || channel.paused)
            continue;
        const std::vector<int16_t>& sound = *channel.sound;
        const size_t samples = std::min(sound.size() - channel.position, size_t(count) * SdlOutput::kChannels);
        for (size_t i = 0; i < samples; ++i)
            frames[i] = int16_t(std::clamp(int(frames[i]) + int(sound[channel.position + i]), -32768, 32767));
        channel.position += samples;
        busy = true;
        if (channel.position >= sound.size()) {
            channel.playing = false;
            const uint64_t generation = channel.generation;
            QMetaObject::invokeMethod(&context_, [this, c, generation] { effectEnded(c, generation); },
                                      Qt::QueuedConnection);
        }
    }
    noteActivity(Line::Effects, busy);
}

// On the audio thread: when the line falls quiet, it closes a while later.
void SdlAudioBackend::noteActivity(Line line, bool busy)
{
    LineState& state = lines_[line];
    if (busy)
        state.lastSoundMs = nowMs();
    if (state.busy.exchange(busy) && !busy)
        QMetaObject::invokeMethod(&context_, [this, line] { closeLaterIfQuiet(line); }, Qt::QueuedConnection);
}

void SdlAudioBackend::playMusic(SdlMusicStream* stream)
{
    openLine(Line::Music);
    std::lock_guard lock(musicMutex_);
    ++musicGeneration_;
    currentMusic_ = stream;
    lines_[Line::Music].lastSoundMs = nowMs();
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
    openLine(Line::Music);
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
    openLine(Line::Effects);
    std::lock_guard lock(effectsMutex_);
    // A new play on a sounding channel starts its sound again from 0.
    Channel& channel = channels_[size_t(stream->channel())];
    channel.sound = &stream->sound();
    channel.position = 0;
    channel.playing = !stream->sound().empty();
    channel.paused = false;
    ++channel.generation;
    lines_[Line::Effects].lastSoundMs = nowMs();
}

void SdlAudioBackend::pauseEffect(SdlEffectStream* stream, bool paused)
{
    if (!paused)
        openLine(Line::Effects);
    std::lock_guard lock(effectsMutex_);
    channels_[size_t(stream->channel())].paused = paused;
}

void SdlAudioBackend::stopEffect(SdlEffectStream* stream)
{
    std::lock_guard lock(effectsMutex_);
    Channel& channel = channels_[size_t(stream->channel())];
    channel.playing = false;
    ++channel.generation;
}

void SdlAudioBackend::releaseChannel(int channel)
{
    std::lock_guard lock(effectsMutex_);
    channels_[size_t(channel)] = Channel{};
}

void SdlAudioBackend::effectEnded(int channel, uint64_t generation)
{
    SdlEffectStream* owner = nullptr;
    {
        std::lock_guard lock(effectsMutex_);
        const Channel& state = channels_[size_t(channel)];
        if (generation == state.generation)
            owner = state.owner;
    }
    if (owner)
        owner->ended();
}

}  // namespace pairly
