// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/audio_backend.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QStringList>

#include <memory>
#include <vector>

namespace pairly::testing {

// Records what the devices ask of the sound output, and which kind of stream
// each close frees, in order. Files listed in `missing` fail to open;
// `finish()` lets the playing song reach its natural end.
class FakeAudioBackend final : public AudioBackend {
public:
    class Stream final : public AudioStream {
    public:
        Stream(FakeAudioBackend& owner, StreamKind kind, QString path)
            : owner_(owner), kind_(kind), path(std::move(path)) {}
        ~Stream() override
        {
            owner_.closed.push_back(kind_);
            for (Stream** live : {&owner_.music, &owner_.effect})
                if (*live == this)
                    *live = nullptr;
        }
        void play() override { playing = true; ++owner_.plays; }
        void pause() override { playing = false; }
        void resume() override { playing = true; ++owner_.resumes; }
        void stop() override { playing = false; }
        void end() { playing = false; reportEnd(); }

    private:
        FakeAudioBackend& owner_;
        const StreamKind kind_;

    public:
        const QString path;
        bool playing = false;
    };

    std::unique_ptr<AudioStream> open(StreamKind kind, const QString& path) override
    {
        opened << path;
        if (missing.contains(path))
            return nullptr;
        auto stream = std::make_unique<Stream>(*this, kind, path);
        (kind == StreamKind::Music ? music : effect) = stream.get();
        return stream;
    }

    bool finish()
    {
        if (!music || !music->playing)
            return false;
        music->end();
        return true;
    }

    QStringList missing;
    QStringList opened;
    int plays = 0, resumes = 0;
    std::vector<StreamKind> closed;
    Stream* music = nullptr;
    Stream* effect = nullptr;
};

inline void deliverQueued()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The notify codes a spy on Done has seen, in order.
inline QList<int> codes(const QSignalSpy& spy)
{
    QList<int> result;
    for (const auto& args : spy)
        result << args.at(0).toInt();
    return result;
}

}  // namespace pairly::testing
