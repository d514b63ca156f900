// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <ctime>

namespace pairly {

// Cheap signs that a lost sound output may be back: a sound server (PulseAudio
// or PipeWire, the one through which SDL reaches the speakers on a desktop)
// accepts connections on its socket again, or the sound devices under /dev/snd
// have changed since the probe was made (a headset plugged in). A look costs a
// few system calls, where a full attempt to open the output loads and
// configures whole libraries; the output polls this while it is lost.
class OutputProbe {
public:
    OutputProbe();

    bool mayBeBack() const;

    // The sockets looked at, from PULSE_SERVER, PULSE_RUNTIME_PATH,
    // XDG_RUNTIME_DIR and PipeWire's defaults. A server named by address only
    // (tcp:host) cannot be looked at cheaply: then every look says yes.
    QStringList sockets() const { return sockets_; }

private:
    QStringList sockets_;
    bool unknownServer_ = false;
    timespec devicesChanged_{};
};

}  // namespace pairly
