// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <fluidsynth/types.h>

namespace pairly {

// The songs' synthesizer: one FluidSynth synthesizer that loads the SoundFont
// once and plays one Standard MIDI File at a time, rendered block by block on
// demand. The sound output renders it on its audio thread (under its own
// lock); the song renderer and the tests render it offline, the same way.
//
// A song's end is counted in rendered frames: its last note ends at the file's
// length, then the end is reported once its last notes have faded below
// hearing, or kMaxRingOutSeconds after that note at the latest, so that the
// next song follows within half a second. The next song then starts without a
// reset, so that the last notes of the one before ring on to their natural
// end under its first bars. A song cut short (a stop, another song while one
// plays) fades out over kFadeSeconds, after which the synthesizer is reset.
class SongSynth {
public:
    static constexpr double kMaxRingOutSeconds = 0.3;
    static constexpr double kFadeSeconds = 0.03;
    // -60 dBFS: a tail this soft is no longer heard at any sensible volume.
    static constexpr float kQuietLevel = 0.001f;

    // Without the SoundFont (empty or unreadable) songs run their course in
    // silence and still end on time.
    SongSynth(int sampleRate, const QString& soundFont);
    SongSynth(const SongSynth&) = delete;
    SongSynth& operator=(const SongSynth&) = delete;
    ~SongSynth();

    bool hasSoundFont() const { return hasSoundFont_; }
    int sampleRate() const { return sampleRate_; }

    // Plays `smf` from `fromSeconds` (0: its beginning); its last note ends
    // `lengthSeconds` from the beginning.
    void play(const QByteArray& smf, double lengthSeconds, double fromSeconds = 0);
    // Ends the song without reporting its end; what still sounds fades out.
    // After the song's end, the last notes ring on.
    void stop();
    // A paused song renders nothing and keeps its place.
    void setPaused(bool paused) { paused_ = paused; }

    // Renders the next `frames` frames into `out` as 16-bit stereo. `out` is
    // left as it is when nothing sounds. True when the playing song's last
    // notes have rung out with this block: once per play.
    bool render(int16_t* out, int frames);

    // Whether render() has anything to do: a song plays (and is not paused),
    // or notes still ring or fade.
    bool active() const { return !paused_ && (running_ || audible_ || pending_.has_value()); }
    // A song plays (or is paused) and has not ended yet.
    bool playing() const { return running_; }

private:
    struct Song {
        QByteArray smf;
        double lengthSeconds = 0;
        double fromSeconds = 0;
    };
    struct FluidDelete {
        void operator()(fluid_settings_t* settings) const;
        void operator()(fluid_synth_t* synth) const;
        void operator()(fluid_player_t* player) const;
    };

    void start(const Song& song);
    void prepareChannels();
    void silence();
    void fadeOutThen(std::optional<Song> next);
    static int toSynth(void* self, fluid_midi_event_t* event);

    int sampleRate_;
    bool hasSoundFont_ = false;
    std::unique_ptr<fluid_settings_t, FluidDelete> settings_;
    std::unique_ptr<fluid_synth_t, FluidDelete> synth_;
    std::unique_ptr<fluid_player_t, FluidDelete> player_;
    std::vector<float> buffer_;

    // The playing song, until its end has been reported.
    bool running_ = false;
    bool paused_ = false;
    int64_t frames_ = 0;
    int64_t lastNoteFrame_ = 0;
    // The last block was loud enough to be heard.
    bool audible_ = false;
    // The song's events are dropped: it is fading out.
    bool muted_ = false;
    // What follows the fade in progress: a song, or silence (empty song).
    std::optional<std::optional<Song>> pending_;
    int fadeLeft_ = 0;
    int fadeFrames_ = 0;
};

}  // namespace pairly
