#pragma once

#include "sound/audio_backend.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace pairly::testing {

// Records what the devices ask of the sound output. Files listed in
// `missing` fail to open; `finish()` ends the playing song as a natural end.
class FakeAudioBackend final : public AudioBackend {
public:
    struct Log {
        QStringList opened;
        int plays = 0;
        int pauses = 0;
        int resumes = 0;
        int stops = 0;
        int freed = 0;
    };

    class Stream final : public AudioStream {
    public:
        Stream(std::shared_ptr<Log> log, StreamKind kind, QString path, FakeAudioBackend& owner)
            : log_(std::move(log)), owner_(owner), kind(kind), path(std::move(path))
        {
        }
        ~Stream() override
        {
            ++log_->freed;
            std::erase(owner_.live_, this);
        }
        void play() override
        {
            ++log_->plays;
            playing = true;
        }
        void pause() override
        {
            ++log_->pauses;
            playing = false;
        }
        void resume() override
        {
            ++log_->resumes;
            playing = true;
        }
        void stop() override
        {
            ++log_->stops;
            playing = false;
        }
        void end()
        {
            playing = false;
            reportEnd();
        }

    private:
        std::shared_ptr<Log> log_;
        FakeAudioBackend& owner_;

    public:
        const StreamKind kind;
        const QString path;
        bool playing = false;
    };

    std::unique_ptr<AudioStream> open(StreamKind kind, const QString& path) override
    {
        log->opened << path;
        if (missing.contains(path))
            return nullptr;
        auto stream = std::make_unique<Stream>(log, kind, path, *this);
        live_.push_back(stream.get());
        return stream;
    }

    // The stream now open for `kind`, or nullptr.
    Stream* live(StreamKind kind) const
    {
        for (Stream* s : live_)
            if (s->kind == kind)
                return s;
        return nullptr;
    }

    // Lets the playing song of `kind` reach its natural end.
    bool finish(StreamKind kind = StreamKind::Music)
    {
        Stream* s = live(kind);
        if (!s || !s->playing)
            return false;
        s->end();
        return true;
    }

    std::shared_ptr<Log> log = std::make_shared<Log>();
    QStringList missing;

private:
    std::vector<Stream*> live_;
};

}  // namespace pairly::testing
