#include "fake_audio_backend.h"
#include "resources/program_folder.h"
#include "sound/media_device.h"
#include "sound/music.h"

#include <QAction>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <random>

namespace pairly {
namespace {

using testing::FakeAudioBackend;

const char* const kCaptions[] = {"Chill1", "Champion", "Champs", "Easycity", "inds_01",
                                 "Humanoid", "Impact", "Lastday", "Scopa", "Sevilana"};

QString songFile(int index, const char* extension)
{
    return besideProgram(QString("\\music\\%1%2").arg(kCaptions[index - 1], extension));
}

void deliverQueued()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

class MusicTest : public ::testing::Test {
protected:
    MusicTest()
    {
        // The window's design checks "Scopa"; start-up must clear it.
        canzoni[8]->setCheckable(true);
        canzoni[8]->setChecked(true);
        MMC1.setVisible(false);
    }

    QList<int> checkedSongs() const
    {
        QList<int> checked;
        for (int i = 1; i <= 10; ++i)
            if (canzoni[size_t(i - 1)]->isChecked())
                checked << i;
        return checked;
    }
    QString lastOpened() const { return backend->log->opened.value(backend->log->opened.size() - 1); }
    bool playing() const { return MMC1.mode() == MediaDevice::Mode::Playing; }
    void endSong()
    {
        ASSERT_TRUE(backend->finish());
        deliverQueued();
    }
    void expectSequential(int song)
    {
        EXPECT_TRUE(all.isChecked());
        EXPECT_FALSE(nomusic.isChecked());
        EXPECT_EQ(checkedSongs(), QList<int>{song});
        EXPECT_EQ(music.brano(), song);
        EXPECT_EQ(lastOpened(), songFile(song, ".mid"));
        EXPECT_TRUE(playing());
    }

    std::shared_ptr<FakeAudioBackend> backend = std::make_shared<FakeAudioBackend>();
    MediaDevice MMC1{backend};
    QAction nomusic{"no music"};
    QAction all{"sequential mode"};
    std::array<std::unique_ptr<QAction>, 10> canzoni = [] {
        std::array<std::unique_ptr<QAction>, 10> items;
        for (size_t i = 0; i < items.size(); ++i)
            items[i] = std::make_unique<QAction>(kCaptions[i]);
        return items;
    }();
    MusicMenu menu = [this] {
        MusicMenu m{&nomusic, &all, {}};
        for (size_t i = 0; i < canzoni.size(); ++i)
            m.canzoni[i] = canzoni[i].get();
        return m;
    }();
    Music music{MMC1, menu};
};

// Right after the window opens: sequential mode with "Chill1" playing from
// its ".mid" file, the strip still hidden.
TEST_F(MusicTest, StartUpPlaysSongOneInSequence)
{
    nomusic.setCheckable(true);
    nomusic.setChecked(true);
    music.startUp();
    expectSequential(1);
    EXPECT_FALSE(MMC1.isVisible());
    EXPECT_EQ(backend->log->opened, QStringList{songFile(1, ".mid")});
}

// Each song that ends hands over to the next in menu order; after song 10
// comes song 1 again, and only the playing song is checked.
TEST_F(MusicTest, EndOfSongAdvancesAndWraps)
{
    music.startUp();
    for (int step = 1; step <= 12; ++step) {
        SCOPED_TRACE(step);
        endSong();
        expectSequential(step % 10 + 1);
    }
}

// Choosing "sequential mode" while it is on skips to the next song at once.
TEST_F(MusicTest, SequentialModeAgainSkipsAhead)
{
    music.startUp();
    music.all_Click();
    expectSequential(2);
    EXPECT_TRUE(MMC1.isVisible());
    music.all_Click();
    expectSequential(3);
}

// A chosen song plays from its ".MID" file, alone: the mode items are cleared
// and the strip keeps its visibility, whichever it was.
TEST_F(MusicTest, ChoosingASongLeavesTheStripAsItWas)
{
    music.startUp();
    for (bool visible : {false, true}) {
        MMC1.setVisible(visible);
        music.canzoni_Click(7);
        EXPECT_EQ(checkedSongs(), QList<int>{7});
        EXPECT_FALSE(all.isChecked());
        EXPECT_FALSE(nomusic.isChecked());
        EXPECT_EQ(music.brano(), 0);
        EXPECT_EQ(lastOpened(), songFile(7, ".MID"));
        EXPECT_TRUE(playing());
        EXPECT_EQ(MMC1.isVisible(), visible);
    }
}

// After a chosen song, sequential mode starts again at song 1, not song 8.
TEST_F(MusicTest, SongSevenThenSequentialPlaysSongOne)
{
    music.startUp();
    music.canzoni_Click(7);
    music.all_Click();
    expectSequential(1);
}

// A chosen song that ends starts again from its beginning.
TEST_F(MusicTest, ChosenSongRepeats)
{
    music.startUp();
    music.canzoni_Click(3);
    const int playsBefore = backend->log->plays;
    const int opensBefore = int(backend->log->opened.size());
    endSong();
    EXPECT_EQ(backend->log->plays, playsBefore + 1);
    EXPECT_EQ(backend->log->opened.size(), opensBefore);
    EXPECT_TRUE(playing());
    EXPECT_EQ(checkedSongs(), QList<int>{3});
    EXPECT_EQ(music.brano(), 0);
}

// Choosing the song that plays closes, reopens and restarts it.
TEST_F(MusicTest, ChoosingThePlayingSongRestartsIt)
{
    music.startUp();
    music.canzoni_Click(5);
    music.canzoni_Click(5);
    EXPECT_EQ(backend->log->opened.count(songFile(5, ".MID")), 2);
    EXPECT_EQ(backend->log->freed, 2);
    EXPECT_TRUE(playing());
}

// "no music" stops the song and hides the strip; sequential mode afterwards
// starts at song 1 and shows the strip.
TEST_F(MusicTest, NoMusicThenSequentialStartsAtSongOne)
{
    music.startUp();
    endSong();
    music.all_Click();
    music.nomusic_Click();
    EXPECT_TRUE(nomusic.isChecked());
    EXPECT_FALSE(all.isChecked());
    EXPECT_TRUE(checkedSongs().isEmpty());
    EXPECT_EQ(MMC1.mode(), MediaDevice::Mode::NotOpen);
    EXPECT_FALSE(MMC1.isVisible());
    EXPECT_EQ(music.brano(), 0);

    music.all_Click();
    expectSequential(1);
    EXPECT_TRUE(MMC1.isVisible());
}

class MusicCompletionCodeTest : public MusicTest, public ::testing::WithParamInterface<std::tuple<int, int>> {};

// Only code 1 moves the music on; any other code changes no check mark and no
// device state, in every mode.
TEST_P(MusicCompletionCodeTest, OtherCodesChangeNothing)
{
    const auto [mode, code] = GetParam();
    music.startUp();
    if (mode == 1)
        music.canzoni_Click(4);
    if (mode == 2)
        music.nomusic_Click();
    const QList<int> songs = checkedSongs();
    const bool allChecked = all.isChecked(), nomusicChecked = nomusic.isChecked();
    const auto log = *backend->log;
    const auto deviceMode = MMC1.mode();
    const int16_t brano = music.brano();

    music.MMC1_Done(int16_t(code));
    deliverQueued();

    EXPECT_EQ(checkedSongs(), songs);
    EXPECT_EQ(all.isChecked(), allChecked);
    EXPECT_EQ(nomusic.isChecked(), nomusicChecked);
    EXPECT_EQ(music.brano(), brano);
    EXPECT_EQ(MMC1.mode(), deviceMode);
    EXPECT_EQ(backend->log->opened, log.opened);
    EXPECT_EQ(backend->log->plays, log.plays);
    EXPECT_EQ(backend->log->freed, log.freed);
}

INSTANTIATE_TEST_SUITE_P(ModesAndCodes, MusicCompletionCodeTest,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(0, 2, 4, 8, -1, 257)));

// A song that cannot be opened holds sequential play at that song until the
// player acts; choosing another song still works.
TEST_F(MusicTest, MissingSongHoldsSequentialPlay)
{
    backend->missing << songFile(2, ".mid");
    music.startUp();
    endSong();
    EXPECT_EQ(checkedSongs(), QList<int>{2});
    EXPECT_EQ(MMC1.mode(), MediaDevice::Mode::NotOpen);
    deliverQueued();
    EXPECT_EQ(music.brano(), 2);
    EXPECT_EQ(lastOpened(), songFile(2, ".mid"));

    music.canzoni_Click(4);
    EXPECT_TRUE(playing());
}

// Access-key markers in a caption are not part of the file name.
TEST_F(MusicTest, CaptionAccessKeysAreNotPartOfTheFileName)
{
    canzoni[8]->setText("&Scopa");
    canzoni[0]->setText("Chill&1");
    music.canzoni_Click(9);
    EXPECT_EQ(lastOpened(), songFile(9, ".MID"));
    music.canzoni_Click(1);
    EXPECT_EQ(lastOpened(), songFile(1, ".MID"));
}

// Whatever the player does, at most one song is checked, "sequential mode"
// and "no music" are never both checked and brano stays within 0..10.
TEST_F(MusicTest, CheckMarkInvariantsHoldUnderAnyClicks)
{
    std::mt19937 random(2024);
    music.startUp();
    for (int step = 0; step < 2000; ++step) {
        switch (random() % 5) {
        case 0: music.canzoni_Click(int16_t(1 + random() % 10)); break;
        case 1: music.all_Click(); break;
        case 2: music.nomusic_Click(); break;
        case 3: backend->finish(); break;
        default: music.MMC1_Done(int16_t(random() % 3)); break;
        }
        deliverQueued();
        ASSERT_LE(checkedSongs().size(), 1) << step;
        ASSERT_FALSE(all.isChecked() && nomusic.isChecked()) << step;
        ASSERT_GE(music.brano(), 0);
        ASSERT_LE(music.brano(), 10);
        if (all.isChecked() && music.brano() > 0) {
            ASSERT_EQ(checkedSongs(), QList<int>{music.brano()}) << step;
        }
    }
}

}  // namespace
}  // namespace pairly
