// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio_backend.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QEventLoop;

namespace pairly {

// The media control of the game window: a device that is given commands by
// name ("open", "play", ...) and a file name, plays asynchronously and reports
// how a play finished through Done. Failures are never reported to the player;
// a command the device cannot carry out leaves it silent.
class MediaDevice : public QObject {
    Q_OBJECT
public:
    // Completion codes of Done.
    enum NotifyCode : int { Successful = 1, Superseded = 2, Aborted = 4, Failure = 8 };

    explicit MediaDevice(std::shared_ptr<AudioBackend> backend, QObject* parent = nullptr);
    ~MediaDevice() override;

    // "WaveAudio" plays short sounds that mix with the music; anything else
    // (the default, empty) plays songs.
    void setDeviceType(const QString& type) { deviceType_ = type; }
    QString deviceType() const { return deviceType_; }

    // Runs a command, matched without regard to letter case: "open", "close",
    // "play", "stop", "pause". Returns at once, except a "play" given with
    // the Wait option, which returns when that play has finished.
    void setCommand(const QString& command);

    // The file the next "open" opens. A name that differs from the file on
    // disk only in letter case reaches that file.
    void setFileName(const QString& fileName) { fileName_ = fileName; }
    QString fileName() const { return fileName_; }

    // The position (ms) the next "play" starts from; 0 is the beginning.
    void setFrom(int milliseconds) { from_ = milliseconds; }

    // Makes the next command wait for its completion; applies to that command
    // only, then falls back to false.
    void setWait(bool wait) { wait_ = wait; }
    bool wait() const { return wait_; }

    // The device's update interval in milliseconds. It is recorded only:
    // nothing here reports the play position.
    void setUpdateInterval(int milliseconds) { updateInterval_ = milliseconds; }
    int updateInterval() const { return updateInterval_; }

    // Whether the device's control strip shows.
    void setVisible(bool visible);
    bool isVisible() const { return visible_; }

    enum class Mode { NotOpen, Stopped, Playing, Paused };
    Mode mode() const { return mode_; }
    // The file the open device actually plays (letter case resolved).
    QString openedFile() const { return openedFile_; }

signals:
    // How the last "play" finished: 1 played to the natural end of the file;
    // 2 superseded by another play, 4 cut short by close/stop/pause, 8 failed.
    // Always delivered from the event loop, never inside a command.
    void Done(int notifyCode);
    void visibleChanged(bool visible);

private:
    void open();
    void close();
    void play(bool wait);
    void stop();
    void pause();
    void report(int notifyCode);
    void streamEnded();
    void leavePlaying();

    std::shared_ptr<AudioBackend> backend_;
    std::unique_ptr<AudioStream> stream_;
    QString deviceType_;
    QString fileName_;
    QString openedFile_;
    std::optional<int> from_;
    bool wait_ = false;
    bool visible_ = false;
    int updateInterval_ = 0;
    Mode mode_ = Mode::NotOpen;
    quint64 playCount_ = 0;
    QEventLoop* waitLoop_ = nullptr;
};

}  // namespace pairly
