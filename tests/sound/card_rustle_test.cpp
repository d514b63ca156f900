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
