// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_audio_backend.h"
#include "sound/media_device.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace pairly {
namespace {

using namespace pairly::testing;
using Mode = MediaDevice::Mode;

class MediaDeviceTest : public ::testing::Test {
protected:
    void openAndPlay(const QString& file = "/songs/a.mid")
    {
        device.setFileName(file);
        device.setCommand("open");
        device.setCommand("play");
    }

    std::shared_ptr<FakeAudioBackend> backend = std::make_shared<FakeAudioBackend>();
    MediaDevice device{backend};
    QSignalSpy done{&device, &MediaDevice::Done};
};

// Code 1 means the play reached the end of its file: once, and from the event
// loop, never from inside the call that caused it.
TEST_F(MediaDeviceTest, NaturalEndReportsOneOnceFromTheEventLoop)
{
    openAndPlay();
    ASSERT_TRUE(backend->finish());
    EXPECT_TRUE(done.isEmpty());
    deliverQueued();
    EXPECT_FALSE(backend->finish());
    deliverQueued();
    EXPECT_EQ(codes(done), QList<int>{MediaDevice::Successful});
}

// Steps are commands, but "From 0" sets From and "end" lets the song end.
struct Interruption {
    const char* name;
    QStringList steps;
    QList<int> codes;
};

void PrintTo(const Interruption& c, std::ostream* os) { *os << c.name; }

class MediaDeviceInterruptionTest : public MediaDeviceTest, public ::testing::WithParamInterface<Interruption> {};

// A play cut short reports its own code. An end the backend reports for the
// old play afterwards, or an end overtaken by a newer command ("no music"
// right as a song ends), must not pass for a success.
TEST_P(MediaDeviceInterruptionTest, NeverReportsOne)
{
    openAndPlay();
    FakeAudioBackend::Stream* stream = backend->music;
    for (const QString& step : GetParam().steps) {
        if (step == "end")
            backend->finish();
        else if (step == "From 0")
            device.setFrom(0);
        else
            device.setCommand(step);
    }
    if (backend->music == stream && !stream->playing)
        stream->end();
    deliverQueued();
    EXPECT_EQ(codes(done), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(Commands, MediaDeviceInterruptionTest,
                         ::testing::Values(Interruption{"Close", {"close"}, {MediaDevice::Aborted}},
                                           Interruption{"Stop", {"Stop"}, {MediaDevice::Aborted}},
                                           Interruption{"Pause", {"PAUSE"}, {MediaDevice::Aborted}},
                                           Interruption{"Reopen", {"Open"}, {MediaDevice::Aborted}},
                                           Interruption{"PlayFromZero", {"From 0", "play"}, {MediaDevice::Superseded}},
                                           Interruption{"EndThenClose", {"end", "close"}, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

// "play" on a playing device changes nothing, From 0 restarts it, after a
// pause it resumes, after a stop or the end it starts again. Commands ignore
// letter case and blanks around them.
TEST_F(MediaDeviceTest, PlayRestartsOnlyFromAStartPosition)
{
    device.setFileName("/songs/a.mid");
    device.setCommand("  oPeN ");
    device.setCommand("pLaY");
    device.setCommand("play");
    EXPECT_EQ(backend->plays, 1);
    device.setFrom(0);
    device.setCommand("play");
    device.setCommand("pause");
    device.setCommand("play");
    EXPECT_EQ(backend->plays, 2);
    EXPECT_EQ(backend->resumes, 1);
    device.setCommand("STOP");
    device.setCommand("play");
    EXPECT_EQ(backend->plays, 3);
    backend->finish();
    deliverQueued();
    device.setFrom(0);
    device.setCommand("Play");
    EXPECT_EQ(backend->plays, 4);
    EXPECT_EQ(device.mode(), Mode::Playing);
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
    EXPECT_EQ(device.mode(), Mode::Stopped);
    device.setCommand("play");
    EXPECT_EQ(device.mode(), Mode::Playing);
}

// A song asked for as ".MID" opens the ".mid" file on disk, while the device
// keeps the name it was given.
TEST_F(MediaDeviceTest, OpensTheFileInAnyLetterCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("Scopa.mid")).open(QIODevice::WriteOnly));
    openAndPlay(dir.filePath("Scopa.MID"));
    EXPECT_EQ(backend->music->path, dir.filePath("Scopa.mid"));
    EXPECT_EQ(device.openedFile(), dir.filePath("Scopa.mid"));
    EXPECT_EQ(device.fileName(), dir.filePath("Scopa.MID"));
}

}  // namespace
}  // namespace pairly
