#include "fake_audio_backend.h"
#include "sound/media_device.h"
#include "sound/music_strip.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pairly {
namespace {

using testing::FakeAudioBackend;

class MusicStripTest : public ::testing::Test {
protected:
    MusicStripTest()
    {
        window.resize(200, 100);
        strip.setGeometry(QRect(QPoint(384, 128) / 4, strip.sizeHint()));
        window.show();
        MMC1.setFileName("/songs/a.mid");
        MMC1.setCommand("open");
        MMC1.setCommand("play");
    }
    void click(const char* name)
    {
        auto* button = strip.findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::shared_ptr<FakeAudioBackend> backend = std::make_shared<FakeAudioBackend>();
    MediaDevice MMC1{backend};
    QWidget window;
    MusicStrip strip{MMC1, &window};
};

// The strip shows and hides with the device's Visible, from hidden.
TEST_F(MusicStripTest, FollowsVisible)
{
    EXPECT_FALSE(strip.isVisible());
    MMC1.setVisible(true);
    EXPECT_TRUE(strip.isVisible());
    MMC1.setVisible(false);
    EXPECT_FALSE(strip.isVisible());
}

// Its buttons act on the device directly.
TEST_F(MusicStripTest, ButtonsDriveTheDevice)
{
    MMC1.setVisible(true);
    click("pause");
    EXPECT_EQ(MMC1.mode(), MediaDevice::Mode::Paused);
    click("play");
    EXPECT_EQ(MMC1.mode(), MediaDevice::Mode::Playing);
    EXPECT_EQ(backend->log->resumes, 1);
    click("stop");
    EXPECT_EQ(MMC1.mode(), MediaDevice::Mode::Stopped);
    click("play");
    EXPECT_EQ(backend->log->plays, 2);
}

}  // namespace
}  // namespace pairly
