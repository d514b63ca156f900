// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_audio_backend.h"
#include "resources/program_folder.h"
#include "sound/card_rustle.h"
#include "sound/media_device.h"

#include <QAction>

#include <gtest/gtest.h>

namespace pairly {
namespace {

using testing::FakeAudioBackend;

class CardRustleTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeAudioBackend> backend = std::make_shared<FakeAudioBackend>();
    MediaDevice MMCw{backend};
    QAction cards{"card rustle"};
    CardRustle rustle{MMCw, &cards};
};

// Start-up checks the item and opens "\carta.wav" as an effect; every turn
// plays it from the beginning, even over the previous rustle. Switched off,
// turns are silent; switched on again, the file is reopened.
TEST_F(CardRustleTest, TurnsRustleFromTheStartUntilSwitchedOff)
{
    rustle.startUp();
    EXPECT_TRUE(cards.isChecked());
    ASSERT_NE(backend->effect, nullptr);
    EXPECT_EQ(backend->effect->path, besideProgram("\\carta.wav"));
    rustle.playOnCardTurn();
    rustle.playOnCardTurn();
    EXPECT_EQ(backend->plays, 2);

    rustle.cards_Click();
    EXPECT_FALSE(cards.isChecked());
    EXPECT_EQ(MMCw.mode(), MediaDevice::Mode::NotOpen);
    rustle.playOnCardTurn();
    EXPECT_EQ(backend->plays, 2);

    rustle.cards_Click();
    EXPECT_TRUE(cards.isChecked());
    EXPECT_EQ(backend->opened, QStringList(2, besideProgram("\\carta.wav")));
    rustle.playOnCardTurn();
    EXPECT_EQ(backend->plays, 3);
}

// A missing sound leaves turns silent, nothing else.
TEST_F(CardRustleTest, MissingSoundIsSilent)
{
    backend->missing << besideProgram("\\carta.wav");
    rustle.startUp();
    rustle.playOnCardTurn();
    EXPECT_TRUE(cards.isChecked());
    EXPECT_EQ(backend->plays, 0);
}

}  // namespace
}  // namespace pairly
