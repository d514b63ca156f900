// SPDX-License-Identifier: GPL-3.0-or-later
#include "song_synth.h"

#include "midi_duration.h"
#include "sound_log.h"

#include <QFile>

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

namespace pairly {
namespace {

// The level the songs are mixed for (SDL_mixer's, at full music volume).
constexpr double kSynthGain = 1.2;
constexpr int kMidiChannels = 16;

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

void SongSynth::FluidDelete::operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
void SongSynth::FluidDelete::operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
void SongSynth::FluidDelete::operator()(fluid_player_t* player) const { delete_fluid_player(player); }

SongSynth::SongSynth(int sampleRate, const QString& soundFont)
    : sampleRate_(sampleRate), fadeFrames_(std::max(1, int(kFadeSeconds * sampleRate)))
{
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, &logFluid, nullptr);
    settings_.reset(new_fluid_settings());
    if (!settings_)
        return;
    fluid_settings_setnum(settings_.get(), "synth.sample-rate", sampleRate);
    fluid_settings_setnum(settings_.get(), "synth.gain", kSynthGain);
    // The player follows the rendered samples, not the wall clock, so that a
    // song lasts the same whether it is heard or rendered offline.
    fluid_settings_setstr(settings_.get(), "player.timing-source", "sample");
    // A new song must not reset the synthesizer while the last notes of the
    // one before still ring.
    fluid_settings_setint(settings_.get(), "player.reset-synth", 0);
    synth_.reset(new_fluid_synth(settings_.get()));
    if (!synth_)
        return;
    const QByteArray file = QFile::encodeName(soundFont);
    hasSoundFont_ = !file.isEmpty() && fluid_synth_sfload(synth_.get(), file.constData(), 1) != FLUID_FAILED;
    if (!hasSoundFont_)
        qCWarning(lcSound) << "cannot load SoundFont" << soundFont << "; the music is silent";
}

SongSynth::~SongSynth()
{
    player_.reset();
    synth_.reset();
}

void SongSynth::play(const QByteArray& smf, double lengthSeconds, double fromSeconds)
{
    Song song{smf, lengthSeconds, fromSeconds};
    const bool cutShort = running_ || pending_;
    running_ = false;
    paused_ = false;
    if (cutShort && audible_) {
        fadeOutThen(std::move(song));
        return;
    }
    // After a song that ended, its last notes ring on under the new one.
    if (cutShort)
        silence();
    else
        prepareChannels();
    start(song);
}

void SongSynth::stop()
{
    // A song that ended is over already: its last notes ring on.
    if (!running_ && !pending_)
        return;
    running_ = false;
    paused_ = false;
    if (audible_)
        fadeOutThen(std::nullopt);
    else
        silence();
}

void SongSynth::fadeOutThen(std::optional<Song> next)
{
    // The old song's events stop reaching the synthesizer at once; what
    // sounds fades. A second change during the fade only replaces what
    // follows it.
    muted_ = true;
    if (!pending_)
        fadeLeft_ = fadeFrames_;
    pending_ = std::move(next);
}

void SongSynth::silence()
{
    player_.reset();
    if (synth_) {
        // The reset clears the reverb but lets the voices ring on in their
        // release; the voices go after it (before it, it would bring them
        // back).
        fluid_synth_system_reset(synth_.get());
        fluid_synth_all_sounds_off(synth_.get(), -1);
    }
    audible_ = false;
    pending_.reset();
}

// What a reset gives the channels, without touching the voices that still
// ring there: notes left on are released, not cut. (After a reset, these
// would bring back the voices it silenced.)
void SongSynth::prepareChannels()
{
    fluid_synth_t* synth = synth_.get();
    if (!synth)
        return;
    for (int c = 0; c < kMidiChannels; ++c) {
        fluid_synth_cc(synth, c, 123, 0);  // all notes off
        fluid_synth_cc(synth, c, 121, 0);  // reset all controllers
        fluid_synth_cc(synth, c, 0, 0);    // bank select
        fluid_synth_cc(synth, c, 32, 0);
        fluid_synth_cc(synth, c, 7, 100);  // volume
        fluid_synth_cc(synth, c, 10, 64);  // pan
        fluid_synth_cc(synth, c, 91, 40);  // reverb
        fluid_synth_cc(synth, c, 93, 0);   // chorus
        fluid_synth_program_change(synth, c, 0);
    }
}

int SongSynth::toSynth(void* self, fluid_midi_event_t* event)
{
    auto* synth = static_cast<SongSynth*>(self);
    return synth->muted_ ? FLUID_OK : fluid_synth_handle_midi_event(synth->synth_.get(), event);
}

void SongSynth::start(const Song& song)
{
    player_.reset();
    pending_.reset();
    muted_ = false;
    running_ = true;
    frames_ = int64_t(std::llround(song.fromSeconds * sampleRate_));
    lastNoteFrame_ = int64_t(std::ceil(song.lengthSeconds * sampleRate_));
    if (!synth_)
        return;
    player_.reset(new_fluid_player(synth_.get()));
    if (player_)
        fluid_player_set_playback_callback(player_.get(), &SongSynth::toSynth, this);
    // A seek is taken before "play" only: the player does not know the
    // song's length until it has started.
    if (!player_ || fluid_player_add_mem(player_.get(), song.smf.constData(), size_t(song.smf.size())) != FLUID_OK
        || (song.fromSeconds > 0
            && fluid_player_seek(player_.get(), int(midiTickAt(song.smf, song.fromSeconds).value_or(0))) != FLUID_OK)
        || fluid_player_play(player_.get()) != FLUID_OK)
        qCWarning(lcSound) << "the synthesizer cannot play this song; it runs its course in silence";
}

bool SongSynth::render(int16_t* out, int frames)
{
    if (!active() || frames <= 0)
        return false;
    float peak = 0;
    if (synth_) {
        const int count = 2 * frames;
        buffer_.resize(size_t(count));
        float* samples = buffer_.data();
        fluid_synth_write_float(synth_.get(), frames, samples, 0, 2, samples, 1, 2);
        for (int f = 0; pending_ && f < frames; ++f) {
            // Quadratic: it reaches silence smoothly, without a last step.
            const float left = float(fadeLeft_) / float(fadeFrames_);
            samples[2 * f] *= left * left;
            samples[2 * f + 1] *= left * left;
            fadeLeft_ = std::max(0, fadeLeft_ - 1);
        }
        // Rounded here, half away from zero, in a loop without calls: this
        // runs on the audio thread for every sample. (FluidSynth's own 16-bit
        // output adds dither noise to the silence between songs.)
        for (int i = 0; i < count; ++i) {
            const float v = std::clamp(samples[i] * 32768.0f, -32768.0f, 32767.0f);
            peak = std::max(peak, std::abs(samples[i]));
            out[i] = int16_t(v + (v < 0 ? -0.5f : 0.5f));
        }
    }
    audible_ = peak >= kQuietLevel;
    if (pending_ && fadeLeft_ == 0) {
        std::optional<Song> next = std::move(*pending_);
        silence();
        if (next)
            start(*next);
    } else if (running_) {
        frames_ += frames;
        const bool rungOut = !audible_ || frames_ >= lastNoteFrame_ + int64_t(kMaxRingOutSeconds * sampleRate_);
        if (frames_ >= lastNoteFrame_ && rungOut) {
            running_ = false;
            return true;
        }
    }
    return false;
}

}  // namespace pairly
