// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_audio_backend.h"
#include "sound/media_device.h"
#include "sound/music_strip.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pairly {
namespace {

// The strip follows the device's Visible, and its buttons act on the device.
TEST(MusicStrip, FollowsVisibleAndDrivesTheDevice)
{
    MediaDevice MMC1(std::make_shared<testing::FakeAudioBackend>());
    QWidget window;
    MusicStrip strip(MMC1, &window);
    window.show();
    MMC1.setFileName("/songs/a.mid");
    MMC1.setCommand("open");
    MMC1.setCommand("play");
    EXPECT_FALSE(strip.isVisible());
    MMC1.setVisible(true);
    ASSERT_TRUE(strip.isVisible());
    const std::pair<const char*, MediaDevice::Mode> presses[] = {
        {"pause", MediaDevice::Mode::Paused}, {"play", MediaDevice::Mode::Playing},
        {"stop", MediaDevice::Mode::Stopped}, {"play", MediaDevice::Mode::Playing}};
    for (const auto& [button, mode] : presses) {
        QTest::mouseClick(strip.findChild<QToolButton*>(button), Qt::LeftButton);
        EXPECT_EQ(MMC1.mode(), mode) << button;
    }
    MMC1.setVisible(false);
    EXPECT_FALSE(strip.isVisible());
}

}  // namespace
}  // namespace pairly
