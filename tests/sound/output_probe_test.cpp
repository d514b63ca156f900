// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/output_probe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <map>

namespace pairly {
namespace {

// A sound server's socket that accepts connections while it lives.
class Listener {
public:
    explicit Listener(const QString& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0))
    {
        const QByteArray name = QFile::encodeName(path);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        bound_ = bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 && listen(fd_, 4) == 0;
    }
    ~Listener() { close(fd_); }
    bool bound() const { return bound_; }

private:
    int fd_;
    bool bound_ = false;
};

const char* const kVariables[] = {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "XDG_RUNTIME_DIR", "PIPEWIRE_RUNTIME_DIR",
                                  "PIPEWIRE_REMOTE"};

struct ProbeCase {
    const char* name;
    // Variables set, with "@" standing for the test's folder; the others unset.
    std::map<QByteArray, QString> environment;
    // Where the server listens, under the folder; empty: a server the probe
    // cannot look at.
    QString socket;
};

void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }

class OutputProbeTest : public ::testing::TestWithParam<ProbeCase> {
protected:
    void SetUp() override
    {
        for (const char* name : kVariables) {
            saved_[name] = qgetenv(name);
            qunsetenv(name);
        }
        for (const auto& [name, value] : GetParam().environment)
            qputenv(name.constData(), QString(value).replace('@', folder_.path()).toUtf8());
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved_) {
            if (value.isNull())
                qunsetenv(name.constData());
            else
                qputenv(name.constData(), value);
        }
    }

    QTemporaryDir folder_;
    std::map<QByteArray, QByteArray> saved_;
};

// The probe finds the server's socket wherever the client libraries would,
// says no while nothing listens there, and yes as soon as a server does.
TEST_P(OutputProbeTest, SaysYesOnceTheServerListensAgain)
{
    const ProbeCase& c = GetParam();
    const OutputProbe probe;
    if (c.socket.isEmpty()) {
        EXPECT_TRUE(probe.sockets().isEmpty());
        EXPECT_TRUE(probe.mayBeBack()) << "a server it cannot look at may always be back";
        return;
    }
    const QString path = folder_.path() + '/' + c.socket;
    EXPECT_TRUE(probe.sockets().contains(path)) << probe.sockets().join(' ').toStdString();
    // A system-wide server, where one runs, is among the sockets of every case.
    const bool systemServer = QFile::exists("/run/pulse/native");
    if (!systemServer) {
        EXPECT_FALSE(probe.mayBeBack());
    }
    QDir().mkpath(QFileInfo(path).path());
    {
        const Listener server(path);
        ASSERT_TRUE(server.bound());
        EXPECT_TRUE(probe.mayBeBack());
    }
    QFile::remove(path);
    if (!systemServer) {
        EXPECT_FALSE(probe.mayBeBack());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Servers, OutputProbeTest,
    ::testing::Values(ProbeCase{"PulseServerNamed", {{"PULSE_SERVER", "unix:@/native"}}, "native"},
                      ProbeCase{"PulseServerList", {{"PULSE_SERVER", "unix:@/first {abc}unix:@/second"}}, "second"},
                      ProbeCase{"PulseServerByAddressOnly", {{"PULSE_SERVER", "tcp:localhost:4713"}}, ""},
                      ProbeCase{"PulseRuntimePath", {{"PULSE_RUNTIME_PATH", "@"}}, "native"},
                      ProbeCase{"PulseUnderXdgRuntime", {{"XDG_RUNTIME_DIR", "@"}}, "pulse/native"},
                      ProbeCase{"PipeWireDefault", {{"XDG_RUNTIME_DIR", "@"}}, "pipewire-0"},
                      ProbeCase{"PipeWireNamed",
                                {{"PIPEWIRE_RUNTIME_DIR", "@"}, {"PIPEWIRE_REMOTE", "my-remote"}},
                                "my-remote"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pairly
