// SPDX-License-Identifier: GPL-3.0-or-later
#include "media_device.h"

#include "file_name_resolver.h"
#include "sound_log.h"

#include <QEventLoop>

#include <utility>

namespace pairly {

MediaDevice::MediaDevice(std::shared_ptr<AudioBackend> backend, QObject* parent)
    : QObject(parent), backend_(std::move(backend))
{
}

MediaDevice::~MediaDevice()
{
    if (waitLoop_)
        waitLoop_->quit();
}

void MediaDevice::setCommand(const QString& command)
{
    const bool waitForIt = std::exchange(wait_, false);
    const QString name = command.trimmed().toLower();
    if (name == QLatin1String("open"))
        open();
    else if (name == QLatin1String("close"))
        close();
    else if (name == QLatin1String("play"))
        play(waitForIt);
    else if (name == QLatin1String("stop"))
        stop();
    else if (name == QLatin1String("pause"))
        pause();
    else
        qCWarning(lcSound) << "unknown media command" << command;
}

void MediaDevice::setVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    emit visibleChanged(visible_);
}

void MediaDevice::open()
{
    if (stream_)
        close();
    const StreamKind kind = deviceType_.compare(QLatin1String("WaveAudio"), Qt::CaseInsensitive) == 0
                                ? StreamKind::Effect
                                : StreamKind::Music;
    const QString resolved = resolveFileName(fileName_);
    stream_ = backend_ ? backend_->open(kind, resolved) : nullptr;
    if (!stream_) {
        qCWarning(lcSound) << "cannot open" << fileName_;
        return;
    }
    openedFile_ = resolved;
    stream_->setEndHandler([this] { streamEnded(); });
    mode_ = Mode::Stopped;
}

void MediaDevice::close()
{
    if (mode_ == Mode::Playing || mode_ == Mode::Paused)
        report(Aborted);
    ++playCount_;
    stream_.reset();
    openedFile_.clear();
    from_.reset();
    mode_ = Mode::NotOpen;
    leavePlaying();
}

void MediaDevice::play(bool wait)
{
    if (!stream_) {
        report(Failure);
        return;
    }
    const std::optional<int> from = std::exchange(from_, std::nullopt);
    if (from && *from != 0)
        qCWarning(lcSound) << "cannot seek to" << *from << "ms; playing from the beginning";
    if (mode_ == Mode::Playing && !from)
        return;
    if (mode_ == Mode::Paused && !from) {
        stream_->resume();
    } else {
        if (mode_ == Mode::Playing || mode_ == Mode::Paused)
            report(Superseded);
        stream_->play();
    }
    ++playCount_;
    mode_ = Mode::Playing;
    if (!wait)
        return;
    QEventLoop loop;
    waitLoop_ = &loop;
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    waitLoop_ = nullptr;
}

void MediaDevice::stop()
{
    if (mode_ != Mode::Playing && mode_ != Mode::Paused)
        return;
    stream_->stop();
    ++playCount_;
    report(Aborted);
    mode_ = Mode::Stopped;
    leavePlaying();
}

void MediaDevice::pause()
{
    if (mode_ != Mode::Playing)
        return;
    stream_->pause();
    ++playCount_;
    report(Aborted);
    mode_ = Mode::Paused;
    leavePlaying();
}

void MediaDevice::report(int notifyCode)
{
    QMetaObject::invokeMethod(this, [this, notifyCode] { emit Done(notifyCode); }, Qt::QueuedConnection);
}

void MediaDevice::streamEnded()
{
    if (mode_ != Mode::Playing)
        return;
    const quint64 play = playCount_;
    mode_ = Mode::Stopped;
    leavePlaying();
    // A command given before this reaches the event loop makes the end stale:
    // every command that leaves or restarts a play counts it.
    QMetaObject::invokeMethod(
        this,
        [this, play] {
            if (play == playCount_)
                emit Done(Successful);
        },
        Qt::QueuedConnection);
}

void MediaDevice::leavePlaying()
{
    if (waitLoop_)
        waitLoop_->quit();
}

}  // namespace pairly
