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
    FakeAudioBackend::Stream* effect() const { return backend->live(StreamKind::Effect); }

    std::shared_ptr<FakeAudioBackend> backend = std::make_shared<FakeAudioBackend>();
    MediaDevice MMCw{backend};
    QAction cards{"card rustle"};
    CardRustle rustle{MMCw, &cards};
};

// After the window opens the rustle is on, "\carta.wav" is open on the
// effect device, and the start-up's Wait was spent on its first command.
TEST_F(CardRustleTest, StartUpOpensTheRustleAndChecksTheItem)
{
    EXPECT_FALSE(cards.isChecked());
    rustle.startUp();
    EXPECT_TRUE(cards.isChecked());
    EXPECT_TRUE(rustle.isOn());
    ASSERT_NE(effect(), nullptr);
    EXPECT_EQ(effect()->path, besideProgram("\\carta.wav"));
    EXPECT_EQ(MMCw.updateInterval(), 0);
    EXPECT_FALSE(MMCw.wait());
}

// Every accepted turn plays the sound from its beginning, even while the
// previous rustle still sounds.
TEST_F(CardRustleTest, EachTurnRestartsTheSound)
{
    rustle.startUp();
    for (int turn = 1; turn <= 3; ++turn) {
        rustle.playOnCardTurn();
        EXPECT_EQ(backend->log->plays, turn);
        EXPECT_TRUE(effect()->playing);
    }
}

// Switched off: the device is closed and turns are silent. Switched on again:
// the same file is reopened and the next turn rustles.
TEST_F(CardRustleTest, ToggleClosesAndReopens)
{
    rustle.startUp();
    rustle.cards_Click();
    EXPECT_FALSE(cards.isChecked());
    EXPECT_EQ(MMCw.mode(), MediaDevice::Mode::NotOpen);
    rustle.playOnCardTurn();
    rustle.playOnCardTurn();
    EXPECT_EQ(backend->log->plays, 0);
    EXPECT_EQ(MMCw.mode(), MediaDevice::Mode::NotOpen);

    rustle.cards_Click();
    EXPECT_TRUE(cards.isChecked());
    EXPECT_EQ(backend->log->opened, QStringList(2, besideProgram("\\carta.wav")));
    rustle.playOnCardTurn();
    EXPECT_EQ(backend->log->plays, 1);
}

// A missing sound leaves turns silent, nothing else.
TEST_F(CardRustleTest, MissingSoundIsSilent)
{
    backend->missing << besideProgram("\\carta.wav");
    rustle.startUp();
    EXPECT_TRUE(cards.isChecked());
    rustle.playOnCardTurn();
    EXPECT_EQ(backend->log->plays, 0);
}

}  // namespace
}  // namespace pairly
