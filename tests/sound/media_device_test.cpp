#include "fake_audio_backend.h"
#include "sound/media_device.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace pairly {
namespace {

using testing::FakeAudioBackend;

void deliverQueued()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QList<int> codes(const QSignalSpy& spy)
{
    QList<int> result;
    for (const auto& args : spy)
        result << args.at(0).toInt();
    return result;
}

class MediaDeviceTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeAudioBackend> backend = std::make_shared<FakeAudioBackend>();
    MediaDevice device{backend};
    QSignalSpy done{&device, &MediaDevice::Done};

    void openAndPlay(const QString& file = "/songs/a.mid")
    {
        device.setFileName(file);
        device.setCommand("open");
        device.setCommand("play");
    }
    FakeAudioBackend::Stream* music() const { return backend->live(StreamKind::Music); }
};

// Code 1 means the play reached the end of its file, once, and it comes from
// the event loop, never from inside the call that caused it.
TEST_F(MediaDeviceTest, NaturalEndReportsOneOnceFromTheEventLoop)
{
    openAndPlay();
    ASSERT_TRUE(backend->finish());
    EXPECT_EQ(done.count(), 0);
    deliverQueued();
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Successful});
    EXPECT_FALSE(backend->finish());
    deliverQueued();
    EXPECT_EQ(done.count(), 1);
}

TEST_F(MediaDeviceTest, OpenAndCloseNeverReportSuccess)
{
    device.setFileName("/songs/a.mid");
    device.setCommand("close");
    device.setCommand("open");
    device.setCommand("close");
    device.setCommand("close");
    deliverQueued();
    EXPECT_FALSE(codes(done).contains(MediaDevice::Successful));
}

struct CutShortCase {
    const char* name;
    std::function<void(MediaDevice&)> cut;
    int code;
};

class MediaDeviceCutShortTest : public MediaDeviceTest, public ::testing::WithParamInterface<CutShortCase> {};

// A play cut short reports its own code, and an end that the backend reports
// afterwards for the old play is not taken for a success.
TEST_P(MediaDeviceCutShortTest, ReportsItsCodeAndNeverOne)
{
    openAndPlay();
    FakeAudioBackend::Stream* stream = music();
    GetParam().cut(device);
    if (backend->live(StreamKind::Music) == stream && stream && !stream->playing)
        stream->end();
    deliverQueued();
    EXPECT_EQ(codes(done), QList<int>{GetParam().code});
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MediaDeviceCutShortTest,
    ::testing::Values(CutShortCase{"Close", [](MediaDevice& d) { d.setCommand("close"); }, MediaDevice::Aborted},
                      CutShortCase{"Stop", [](MediaDevice& d) { d.setCommand("Stop"); }, MediaDevice::Aborted},
                      CutShortCase{"Pause", [](MediaDevice& d) { d.setCommand("PAUSE"); }, MediaDevice::Aborted},
                      CutShortCase{"Reopen", [](MediaDevice& d) { d.setCommand("Open"); }, MediaDevice::Aborted},
                      CutShortCase{"PlayFromZero",
                                   [](MediaDevice& d) {
                                       d.setFrom(0);
                                       d.setCommand("play");
                                   },
                                   MediaDevice::Superseded}),
    [](const auto& info) { return std::string(info.param.name); });

// An end that arrives after a newer command is stale: "no music" right after
// a song ended must not let sequential play advance.
TEST_F(MediaDeviceTest, EndOvertakenByACommandIsDropped)
{
    openAndPlay();
    ASSERT_TRUE(backend->finish());
    device.setCommand("close");
    deliverQueued();
    EXPECT_TRUE(done.isEmpty());
}

TEST_F(MediaDeviceTest, CommandsIgnoreLetterCase)
{
    device.setFileName("/songs/a.mid");
    const std::pair<const char*, const char*> spellings[] = {{"open", "close"}, {"Open", "Close"}, {"OPEN", "CLOSE"}};
    for (const auto& [open, close] : spellings) {
        device.setCommand(open);
        EXPECT_EQ(device.mode(), MediaDevice::Mode::Stopped) << open;
        device.setCommand(close);
        EXPECT_EQ(device.mode(), MediaDevice::Mode::NotOpen) << close;
    }
    device.setCommand("  oPeN ");
    device.setCommand("pLaY");
    EXPECT_EQ(device.mode(), MediaDevice::Mode::Playing);
    EXPECT_EQ(backend->log->plays, 1);
}

// Each "close" frees the file it had opened.
TEST_F(MediaDeviceTest, CloseFreesTheFile)
{
    for (int n = 0; n < 5; ++n)
        openAndPlay(QString("/songs/%1.mid").arg(n));
    device.setCommand("close");
    EXPECT_EQ(backend->log->freed, 5);
    EXPECT_EQ(music(), nullptr);
}

TEST_F(MediaDeviceTest, PlayWithoutAnOpenFileFailsQuietly)
{
    backend->missing << "/songs/missing.mid";
    openAndPlay("/songs/missing.mid");
    EXPECT_EQ(device.mode(), MediaDevice::Mode::NotOpen);
    deliverQueued();
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Failure});
}

// "play" on a playing device keeps it playing; From 0 restarts it; after a
// pause "play" resumes where it stood.
TEST_F(MediaDeviceTest, PlayRestartsOnlyFromAStartPosition)
{
    openAndPlay();
    device.setCommand("play");
    EXPECT_EQ(backend->log->plays, 1);
    device.setFrom(0);
    device.setCommand("play");
    EXPECT_EQ(backend->log->plays, 2);
    device.setCommand("pause");
    device.setCommand("play");
    EXPECT_EQ(backend->log->resumes, 1);
    EXPECT_EQ(backend->log->plays, 2);
    device.setCommand("stop");
    device.setCommand("play");
    EXPECT_EQ(backend->log->plays, 3);
}

// A song that ended plays again on the next "play" (the chosen song repeats).
TEST_F(MediaDeviceTest, PlayAfterTheEndStartsAgain)
{
    openAndPlay();
    backend->finish();
    deliverQueued();
    device.setFrom(0);
    device.setCommand("Play");
    EXPECT_EQ(backend->log->plays, 2);
    EXPECT_TRUE(music()->playing);
}

// Wait holds only the next command: a waited "play" returns at its end.
TEST_F(MediaDeviceTest, WaitAppliesToTheNextCommandOnly)
{
    device.setFileName("/songs/a.mid");
    device.setWait(true);
    device.setCommand("open");
    EXPECT_FALSE(device.wait());

    QTimer::singleShot(0, [this] { backend->finish(); });
    device.setWait(true);
    device.setCommand("play");
    EXPECT_EQ(device.mode(), MediaDevice::Mode::Stopped);
    device.setCommand("play");
    EXPECT_EQ(device.mode(), MediaDevice::Mode::Playing);
}

TEST_F(MediaDeviceTest, UpdateIntervalDrivesStatusUpdates)
{
    QSignalSpy updates(&device, &MediaDevice::StatusUpdate);
    device.setUpdateInterval(5);
    openAndPlay();
    EXPECT_TRUE(updates.wait(1000));
    device.setUpdateInterval(0);
    updates.clear();
    EXPECT_FALSE(updates.wait(50));
}

// The effect device plays on a channel of its own; everything else is music.
TEST_F(MediaDeviceTest, WaveAudioOpensAnEffect)
{
    MediaDevice effect(backend);
    effect.setDeviceType("WaveAudio");
    effect.setFileName("/carta.wav");
    effect.setCommand("Open");
    openAndPlay();
    ASSERT_NE(backend->live(StreamKind::Effect), nullptr);
    EXPECT_EQ(backend->live(StreamKind::Effect)->path, "/carta.wav");
    EXPECT_EQ(music()->path, "/songs/a.mid");
}

// The device opens the file that exists whatever case the name was given in.
TEST_F(MediaDeviceTest, OpensTheFileInAnyLetterCase)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("music");
    QFile file(dir.filePath("music/Scopa.mid"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    openAndPlay(dir.filePath("music/Scopa.MID"));
    EXPECT_EQ(device.openedFile(), dir.filePath("music/Scopa.mid"));
    EXPECT_EQ(backend->log->opened.last(), dir.filePath("music/Scopa.mid"));
    EXPECT_EQ(device.fileName(), dir.filePath("music/Scopa.MID"));
}

}  // namespace
}  // namespace pairly
