// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace pairly {

// What a stream plays: a song on the single music line, or a short sound on a
// channel of its own that mixes with the music.
enum class StreamKind { Music, Effect };

// One opened sound file. Destroying it stops it and frees everything it holds.
class AudioStream {
public:
    virtual ~AudioStream() = default;

    // Plays from the beginning, cutting off whatever this stream was playing.
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Stops without reporting an end.
    virtual void stop() = 0;

    // Called on the thread that owns the backend, once per play that reached
    // the natural end of the file (for a song: the end of its last note).
    void setEndHandler(std::function<void()> handler) { endHandler_ = std::move(handler); }

protected:
    void reportEnd() const
    {
        if (endHandler_)
            endHandler_();
    }

private:
    std::function<void()> endHandler_;
};

// The sound output of the process. Only one music stream plays at a time:
// playing one cuts off another.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Opens a file; nullptr when it cannot be played (missing, unreadable,
    // not a sound file of that kind).
    virtual std::unique_ptr<AudioStream> open(StreamKind kind, const QString& path) = 0;
};

}  // namespace pairly
