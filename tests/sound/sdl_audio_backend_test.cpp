// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_audio_backend.h"
#include "smf_builder.h"
#include "sound/audio_module.h"
#include "sound/media_device.h"
#include "sound/sdl_audio_backend.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <SDL.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace pairly {
namespace {

using namespace pairly::testing;

constexpr int kRate = 44100;

// A piano note of `seconds` at 120 bpm, from the first tick.
QByteArray oneNoteSong(double seconds, uint8_t key = 60)
{
    return SmfBuilder().program(0, 0, 0).noteOn(0, 0, key, 110).noteOff(uint32_t(seconds * 960), 0, key).build();
}

void writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& data)
{
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// An environment variable set for a scope's life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), saved_(qgetenv(name)) { set(value); }
    ~ScopedEnv() { set(saved_); }
    void set(const QByteArray& value) const { value.isNull() ? qunsetenv(name_) : qputenv(name_, value); }

private:
    const char* name_;
    QByteArray saved_;
};

// A stereo wave rising by one step a frame from a loud start, so that each
// start of it can be found in the mix.
QByteArray testWave(int frames)
{
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + 4 * frames);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(2) << quint32(kRate) << quint32(kRate * 4) << quint16(4) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(4 * frames);
    for (int i = 0; i < frames; ++i)
        out << qint16(3000 + i) << qint16(3000 + i);
    return wav;
}

// Renders the mix in real time into a file through SDL's disk driver.
class SdlBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", output.toLocal8Bit());
        qunsetenv("SDL_DISKAUDIODELAY");
        backend = std::make_shared<SdlAudioBackend>();
        ASSERT_TRUE(backend->isOpen());
    }
    void write(const QString& name, const QByteArray& data) { writeFile(dir, name, data); }
    void play(MediaDevice& device, const QString& name)
    {
        device.setFileName(dir.filePath(name));
        device.setCommand("open");
        device.setCommand("play");
    }
    int64_t framesWritten() const { return QFileInfo(output).size() / 4; }
    std::vector<int16_t> rendered() const
    {
        QFile file(output);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        std::vector<int16_t> samples(size_t(bytes.size() / 2));
        std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
        return samples;
    }
    QTemporaryDir dir;
    QString output = dir.filePath("out.raw");
    std::shared_ptr<SdlAudioBackend> backend;
};

// The output is open only while something sounds: it closes when quiet, and
// a song opens it again and keeps it open to its end. (The rustle reopening
// it is heard through a real sound server in the end-to-end sound test.)
TEST(SdlOutputTest, ClosesWhenQuietAndASongKeepsItOpenToItsEnd)
{
    QTemporaryDir dir;
    writeFile(dir, "song.mid", oneNoteSong(1.0));
    qputenv("SDL_AUDIODRIVER", "dummy");
    SdlAudioBackend::Options options;
    options.quietSeconds = 0.3;
    auto backend = std::make_shared<SdlAudioBackend>(options);
    const auto closes = [&] { return QTest::qWaitFor([&] { return !backend->outputOpen(); }, 3000); };
    ASSERT_TRUE(closes());

    MediaDevice MMC1(backend);
    QSignalSpy done(&MMC1, &MediaDevice::Done);
    MMC1.setFileName(dir.filePath("song.mid"));
    MMC1.setCommand("open");
    MMC1.setCommand("play");
    bool closedWhilePlaying = false;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        closedWhilePlaying = closedWhilePlaying || !backend->outputOpen();
        return !done.isEmpty();
    }, 3000));
    EXPECT_FALSE(closedWhilePlaying);
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Successful});
    EXPECT_TRUE(closes());
}

// A sound server that takes clients in and never answers them: SDL's
// pulseaudio driver waits for it inside its start. It drops them when
// released, or after a deadline that only a caller held by it would see.
class SilentServer {
public:
    explicit SilentServer(const QString& path) : listener_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        EXPECT_EQ(bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(listen(listener_, 8), 0);
        thread_ = std::thread([this] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            std::vector<int> clients;
            while (!released_ && !(heldTooLong_ = std::chrono::steady_clock::now() > deadline)) {
                pollfd incoming{listener_, POLLIN, 0};
                if (poll(&incoming, 1, 20) > 0)
                    clients.push_back(accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC));
                taken_ = int(clients.size());
            }
            for (int client : clients)
                close(client);
            close(listener_);
        });
    }
    ~SilentServer()
    {
        release();
        thread_.join();
    }
    void release() { released_ = true; }
    int taken() const { return taken_; }
    bool heldTooLong() const { return heldTooLong_; }

private:
    int listener_;
    std::atomic<bool> released_{false};
    std::atomic<bool> heldTooLong_{false};
    std::atomic<int> taken_{0};
    std::thread thread_;
};

// A driver may wait without end inside an opening, here SDL's start: the
// backend is made, and a rustle and a song asked for, at once and in
// silence. The song plays once the opening is over (here on the stand-in).
TEST(SdlOutputTest, AnOpeningHeldByTheServerHoldsNoCaller)
{
    QTemporaryDir dir;
    writeFile(dir, "song.mid", oneNoteSong(0.5));
    writeFile(dir, "carta.wav", testWave(kRate / 10));
    SilentServer server(dir.filePath("native"));
    const ScopedEnv pulse("PULSE_SERVER", "unix:" + QFile::encodeName(dir.filePath("native")));
    const ScopedEnv cookie("PULSE_COOKIE", QFile::encodeName(dir.filePath("cookie")));
    const ScopedEnv driver("SDL_AUDIODRIVER", "pulseaudio");
    auto backend = std::make_shared<SdlAudioBackend>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.taken() > 0; }, 5000));
    MediaDevice MMCw(backend);
    MMCw.setDeviceType("WaveAudio");
    MMCw.setFileName(dir.filePath("carta.wav"));
    MMCw.setCommand("Open");
    MMCw.setCommand("Play");
    MediaDevice MMC1(backend);
    QSignalSpy done(&MMC1, &MediaDevice::Done);
    MMC1.setFileName(dir.filePath("song.mid"));
    MMC1.setCommand("open");
    MMC1.setCommand("play");
    EXPECT_FALSE(server.heldTooLong());
    EXPECT_FALSE(backend->outputOpen());

    server.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !done.isEmpty(); }, 5000));
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Successful});
}

struct StallCase {
    const char* name;
    // Where the sound server is: an address the probe cannot look at may
    // always be back; a socket that does not exist is not.
    const char* pulseServer;
    bool comesBack;
};

void PrintTo(const StallCase& c, std::ostream* os) { *os << c.name; }

class SdlStallTest : public SdlBackendTest, public ::testing::WithParamInterface<StallCase> {};

// SDL's pipewire driver stops asking for samples when its server goes, and
// says nothing: here the device is paused under the mixer. The loss is
// noticed all the same. If the device may be back, the output reopens on it
// and the song starts again from its first note; if not, the stand-in keeps
// the song's time and it still ends.
TEST_P(SdlStallTest, IsNoticedAndTheSongGoesOn)
{
    const ScopedEnv server("PULSE_SERVER", GetParam().pulseServer);
    SdlAudioBackend::Options options;
    options.watchIntervalMs = 200;
    backend.reset();
    backend = std::make_shared<SdlAudioBackend>(options);
    // A loud first note, then silence up to a soft last one.
    write("song.mid", SmfBuilder().program(0, 0, 0).noteOn(0, 0, 60, 127).noteOff(288, 0, 60)
                          .noteOn(1152, 0, 60, 1).noteOff(96, 0, 60).build());
    MediaDevice MMC1(backend);
    QSignalSpy done(&MMC1, &MediaDevice::Done);
    play(MMC1, "song.mid");
    ASSERT_TRUE(QTest::qWaitFor([&] { return framesWritten() > kRate / 2; }, 3000));
    // SDL numbers the mixer's device 2 (1 is kept for its legacy interface).
    ASSERT_EQ(SDL_GetAudioDeviceStatus(2), SDL_AUDIO_PLAYING);
    const int64_t stalledAt = framesWritten();
    SDL_PauseAudioDevice(2, 1);

    if (GetParam().comesBack) {
        // Reopened, the device's file starts afresh.
        ASSERT_TRUE(QTest::qWaitFor([&] { return framesWritten() < stalledAt; }, 3000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return framesWritten() > kRate * 4 / 10; }, 3000));
        const auto samples = rendered();
        const auto loud = std::find_if(samples.begin(), samples.end(), [](int16_t v) { return std::abs(v) > 1000; });
        EXPECT_LT(loud - samples.begin(), 2 * kRate * 3 / 10) << "the song's first note within 0.3 s";
    } else {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !done.isEmpty(); }, 4000));
        EXPECT_EQ(codes(done), QList<int>{MediaDevice::Successful});
        EXPECT_EQ(backend->driverName(), "dummy");
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, SdlStallTest,
                         ::testing::Values(StallCase{"DeviceBack", "tcp:localhost:1", true},
                                           StallCase{"DeviceGone", "unix:/nonexistent/native", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Two quick turns: the second rustle cuts the first and starts from the
// beginning of the sound again; only the second one ends, after its last
// sample.
TEST_F(SdlBackendTest, TwoQuickRustlesBothStartFromTheBeginning)
{
    const int frames = int(0.3 * kRate);
    write("carta.wav", testWave(frames));
    MediaDevice MMCw(backend);
    QSignalSpy done(&MMCw, &MediaDevice::Done);
    MMCw.setDeviceType("WaveAudio");
    MMCw.setFileName(dir.filePath("carta.wav"));
    MMCw.setCommand("Open");
    for (int turn = 0; turn < 2; ++turn) {
        const int64_t calledAt = framesWritten();
        MMCw.setCommand("Play");
        MMCw.setFrom(0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return framesWritten() > calledAt + kRate / 10 + turn * frames; }, 3000));
        if (turn == 0) {
            EXPECT_TRUE(done.isEmpty()) << "ended a third of the way through";
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return done.size() == 2; }, 3000));
    EXPECT_EQ(codes(done), (QList<int>{MediaDevice::Superseded, MediaDevice::Successful}));
    const auto samples = rendered();
    const QByteArray wave = testWave(frames).mid(44);
    std::vector<int64_t> starts;
    for (size_t f = 0; 2 * (f + 256) < samples.size(); ++f)
        if (std::memcmp(&samples[2 * f], wave.constData(), 256 * 4) == 0)
            starts.push_back(int64_t(f));
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_LT(starts[1] - starts[0], frames);
}

// Only a driver that plays nothing counts as the stand-in: on any other, or
// none named, a mixer that fell back on the stand-in keeps looking for the
// device.
TEST(MixerOutputTest, WantsADeviceUnlessTheDriverOnlyStandsIn)
{
    const ScopedEnv driver("SDL_AUDIODRIVER", QByteArray());
    EXPECT_TRUE(MixerOutput::deviceWanted());
    for (const auto& [name, wanted] : {std::pair{"pulseaudio", true}, {"alsa", true}, {"dummy", false},
                                       {" Disk ", false}}) {
        driver.set(name);
        EXPECT_EQ(MixerOutput::deviceWanted(), wanted) << name;
    }
}

// The program's sound output is the module, made on a thread of its own; its
// ends still arrive on this thread. Without the module every open fails.
TEST(ModuleAudioBackendTest, LoadsTheModuleOrRunsSilent)
{
    QTemporaryDir dir;
    const QString wave = dir.filePath("carta.wav");
    writeFile(dir, "carta.wav", testWave(kRate / 10));

    ModuleAudioBackend missing(dir.filePath("none.so"));
    EXPECT_FALSE(missing.loaded());
    EXPECT_EQ(missing.open(StreamKind::Effect, wave), nullptr);

    qputenv("SDL_AUDIODRIVER", "dummy");
    ModuleAudioBackend module(QStringLiteral(PAIRLY_AUDIO_MODULE));
    ASSERT_TRUE(module.loaded());
    const auto stream = module.open(StreamKind::Effect, wave);
    ASSERT_NE(stream, nullptr);
    bool ended = false;
    stream->setEndHandler([&] { ended = QThread::currentThread() == qApp->thread(); });
    stream->play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended; }, 3000));
}

struct BrokenFile {
    const char* name;
    QByteArray content;
    bool effect;
};

void PrintTo(const BrokenFile& c, std::ostream* os) { *os << c.name; }

class SdlBrokenFileTest : public SdlBackendTest, public ::testing::WithParamInterface<BrokenFile> {};

// Bad or missing files leave the device closed with a failure; nothing crashes.
TEST_P(SdlBrokenFileTest, IsRefusedQuietly)
{
    const QString file = GetParam().effect ? "carta.wav" : "music/Chill1.mid";
    if (!GetParam().content.isNull() && QDir(dir.path()).mkdir("music"))
        write(file, GetParam().content);
    MediaDevice device(backend);
    if (GetParam().effect)
        device.setDeviceType("WaveAudio");
    QSignalSpy done(&device, &MediaDevice::Done);
    play(device, file);
    QCoreApplication::processEvents();
    EXPECT_EQ(device.mode(), MediaDevice::Mode::NotOpen);
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Failure});
}

INSTANTIATE_TEST_SUITE_P(
    Files, SdlBrokenFileTest,
    ::testing::Values(BrokenFile{"MissingFolder", QByteArray(), false}, BrokenFile{"EmptySong", "", false},
                      BrokenFile{"GarbageSong", QByteArray(4096, '\x7F'), false},
                      BrokenFile{"TruncatedHeader", oneNoteSong(1).left(10), false},
                      BrokenFile{"MissingWave", QByteArray(), true},
                      BrokenFile{"WaveHeaderOnly", testWave(100).left(40), true},
                      BrokenFile{"WaveGarbage", QByteArray("RIFF\x10\x00\x00\x00WAVEjunkjunk", 20), true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pairly
