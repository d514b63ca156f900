// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_probe.h"

#include <QFile>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace pairly {
namespace {

constexpr char kDevices[] = "/dev/snd";

timespec devicesChangedAt()
{
    struct stat info {};
    return stat(kDevices, &info) == 0 ? info.st_mtim : timespec{};
}

bool accepts(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return connected;
}

}  // namespace

OutputProbe::OutputProbe() : devicesChanged_(devicesChangedAt())
{
    // PULSE_SERVER is a list of servers tried in turn.
    for (const QString& server : qEnvironmentVariable("PULSE_SERVER").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString path = server.section(QLatin1Char('}'), -1);
        if (path.startsWith(QLatin1String("unix:")))
            path = path.mid(5);
        if (path.startsWith(QLatin1Char('/')))
            sockets_ << path;
        else
            unknownServer_ = true;
    }
    if (!sockets_.isEmpty() || unknownServer_)
        return;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString pulse = qEnvironmentVariable("PULSE_RUNTIME_PATH", runtime + QLatin1String("/pulse"));
    sockets_ << pulse + QLatin1String("/native") << QStringLiteral("/run/pulse/native");
    const QString pipewire = qEnvironmentVariable("PIPEWIRE_RUNTIME_DIR", runtime);
    sockets_ << pipewire + QLatin1Char('/') + qEnvironmentVariable("PIPEWIRE_REMOTE", QStringLiteral("pipewire-0"));
}

bool OutputProbe::mayBeBack() const
{
    if (unknownServer_)
        return true;
    const timespec devices = devicesChangedAt();
    if (devices.tv_sec != devicesChanged_.tv_sec || devices.tv_nsec != devicesChanged_.tv_nsec)
        return true;
    for (const QString& socket : sockets_)
        if (accepts(socket))
            return true;
    return false;
}

}  // namespace pairly
