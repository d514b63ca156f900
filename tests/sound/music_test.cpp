// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_audio_backend.h"
#include "resources/program_folder.h"
#include "sound/media_device.h"
#include "sound/music.h"

#include <QAction>

#include <gtest/gtest.h>

namespace pairly {
namespace {

using namespace pairly::testing;

const char* const kCaptions[] = {"Chill1", "Champion", "Champs", "Easycity", "inds_01",
                                 "Humanoid", "Impact", "Lastday", "Scopa", "Sevilana"};

QString songFile(int song, const char* extension)
{
    return besideProgram(QString("\\music\\%1%2").arg(kCaptions[song - 1], extension));
}

class MusicTest : public ::testing::Test {
protected:
    // The design checks "Scopa"; a stale "no music" mark is added on top:
    // start-up must clear both.
    MusicMenu items()
    {
        MusicMenu m{&nomusic, &all, {}};
        for (size_t i = 0; i < canzoni.size(); ++i) {
            canzoni[i].setText(kCaptions[i]);
            m.canzoni[i] = &canzoni[i];
        }
        canzoni[8].setCheckable(true);
        canzoni[8].setChecked(true);
        nomusic.setCheckable(true);
        nomusic.setChecked(true);
        return m;
    }
    QList<int> checkedSongs() const
    {
        QList<int> checked;
        for (int i = 1; i <= 10; ++i)
            if (canzoni[size_t(i - 1)].isChecked())
                checked << i;
        return checked;
    }
    bool playing() const { return MMC1.mode() == MediaDevice::Mode::Playing; }
    void endSong()
    {
        ASSERT_TRUE(backend->finish());
        deliverQueued();
    }
    // Sequential mode at `song`, playing from its ".mid" file.
    void expectSequential(int song)
    {
        EXPECT_TRUE(all.isChecked() && !nomusic.isChecked());
        EXPECT_EQ(checkedSongs(), QList<int>{song});
        EXPECT_EQ(music.brano(), song);
        EXPECT_EQ(backend->opened.last(), songFile(song, ".mid"));
        EXPECT_TRUE(playing());
    }

    std::shared_ptr<FakeAudioBackend> backend = std::make_shared<FakeAudioBackend>();
    MediaDevice MMC1{backend};
    QAction nomusic{"no music"}, all{"sequential mode"};
    std::array<QAction, 10> canzoni;
    Music music{MMC1, items()};
};

// Start-up plays song 1 in sequence with the strip hidden; each song that
// ends hands over to the next, song 10 to song 1, one check mark at a time.
// Choosing "sequential mode" while it is on skips ahead at once.
TEST_F(MusicTest, SequentialPlayAdvancesInMenuOrder)
{
    music.startUp();
    expectSequential(1);
    EXPECT_EQ(backend->opened.size(), 1);
    EXPECT_FALSE(MMC1.isVisible());
    for (int step = 1; step <= 10; ++step) {
        SCOPED_TRACE(step);
        endSong();
        expectSequential(step % 10 + 1);
    }
    music.all_Click();
    expectSequential(2);
    EXPECT_TRUE(MMC1.isVisible());
    music.all_Click();
    expectSequential(3);
}

// A chosen song plays alone from its ".MID" file, repeats when it ends, and
// leaves the strip as it was; sequential mode afterwards starts at song 1.
// Access-key markers in a caption are not part of the file name.
TEST_F(MusicTest, ChosenSongRepeatsThenSequentialStartsAtOne)
{
    music.startUp();
    canzoni[6].setText("&Impact");
    for (bool visible : {false, true}) {
        MMC1.setVisible(visible);
        music.canzoni_Click(7);
        const int opened = int(backend->opened.size());
        endSong();
        EXPECT_EQ(backend->opened.size(), opened);
        EXPECT_EQ(backend->opened.last(), songFile(7, ".MID"));
        EXPECT_EQ(checkedSongs(), QList<int>{7});
        EXPECT_FALSE(all.isChecked() || nomusic.isChecked());
        EXPECT_EQ(music.brano(), 0);
        EXPECT_TRUE(playing());
        EXPECT_EQ(MMC1.isVisible(), visible);
    }
    EXPECT_EQ(backend->opened.count(songFile(7, ".MID")), 2) << "choosing it again restarts it";
    music.all_Click();
    expectSequential(1);
}

// "no music" stops the song and hides the strip; sequential mode afterwards
// starts at song 1 and shows it.
TEST_F(MusicTest, NoMusicThenSequentialStartsAtOne)
{
    music.startUp();
    endSong();
    music.all_Click();
    music.nomusic_Click();
    EXPECT_TRUE(nomusic.isChecked() && !all.isChecked());
    EXPECT_TRUE(checkedSongs().isEmpty());
    EXPECT_EQ(MMC1.mode(), MediaDevice::Mode::NotOpen);
    EXPECT_FALSE(MMC1.isVisible());
    music.all_Click();
    expectSequential(1);
    EXPECT_TRUE(MMC1.isVisible());
}

// A song that cannot be opened holds sequential play there until the player
// chooses something else.
TEST_F(MusicTest, MissingSongHoldsSequentialPlay)
{
    backend->missing << songFile(2, ".mid");
    music.startUp();
    endSong();
    deliverQueued();
    EXPECT_EQ(checkedSongs(), QList<int>{2});
    EXPECT_EQ(music.brano(), 2);
    EXPECT_EQ(MMC1.mode(), MediaDevice::Mode::NotOpen);
    music.canzoni_Click(4);
    EXPECT_TRUE(playing());
}

const std::string kModes[] = {"SequentialCode", "ChosenSongCode", "NoMusicCode"};

class MusicCompletionCodeTest : public MusicTest, public ::testing::WithParamInterface<std::tuple<int, int>> {};

// Only code 1 moves the music on; any other changes no mark and no device
// state, in every mode.
TEST_P(MusicCompletionCodeTest, OtherCodesChangeNothing)
{
    const auto [mode, code] = GetParam();
    music.startUp();
    if (mode == 1)
        music.canzoni_Click(4);
    if (mode == 2)
        music.nomusic_Click();
    const auto state = [this] {
        return std::tuple(checkedSongs(), all.isChecked(), nomusic.isChecked(), music.brano(), MMC1.mode(),
                          backend->opened, backend->plays, backend->closed);
    };
    const auto before = state();
    music.MMC1_Done(int16_t(code));
    deliverQueued();
    EXPECT_TRUE(state() == before);
}

INSTANTIATE_TEST_SUITE_P(ModesAndCodes, MusicCompletionCodeTest,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(0, 2, 4, 8, 257)),
                         [](const auto& info) {
                             return kModes[std::get<0>(info.param)] + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace pairly
