// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game.h"
#include "fake_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace pairly {
namespace {

using testing::FakeTable;
using testing::ManualScheduler;

// A game on a fake table with a manual clock: passes run when the test
// pumps, timer ticks when it advances time.
class GameTest : public ::testing::Test {
protected:
    GameTest() : game(table, scheduler, random)
    {
        game.model().larghezza = 1000;
        game.model().altezza = 700;
    }

    void pump()
    {
        while (scheduler.pending) {
            scheduler.pending = false;
            game.runPass();
        }
    }
    void advance(int ms)
    {
        for (int t = 0; t < ms; ++t) {
            if (scheduler.timerMs && ++elapsed >= *scheduler.timerMs) {
                elapsed = 0;
                game.Timer1_Timer();
                pump();
            }
            if (!scheduler.timerMs)
                elapsed = 0;
        }
    }
    void start(int16_t ncarte = 20, int16_t righe = 4)
    {
        game.setSize(ncarte, righe);
        game.hideAllFaces();
        game.Main();
    }
    void click(int16_t c) { game.dorsoClick(m().ncarte, c); }
    void turn(int16_t c)
    {
        click(c);
        pump();
    }
    int16_t partner(int16_t c) const
    {
        const int16_t half = m().ncarte / 2;
        return c > half ? c - half : c + half;
    }
    int16_t nonPartner(int16_t c) const { return partner(c) == 2 ? 3 : (c == 2 ? 3 : 2); }
    // A 20-card table with a missed pair, 1 and nonPartner(1), in its pause.
    void miss()
    {
        start();
        turn(1);
        turn(nonPartner(1));
    }
    // Element 0 of each array is the window's model, never a card: whatever
    // a game did, Img(0) keeps no picture and no model back is shown.
    void TearDown() override
    {
        EXPECT_EQ(table.faces[0].picture, nullptr);
        EXPECT_TRUE(table.faces[0].visible);
        for (int16_t size : {20, 48, 80})
            EXPECT_FALSE((table.backs[{size, 0}].visible)) << size;
    }
    const TableModel& m() const { return game.model(); }
    bool covered(int16_t c) const { return table.covered(m().ncarte, c); }
    bool uncovered(int16_t c) const { return table.uncovered(m().ncarte, c); }
    int coveredCount() const
    {
        int n = 0;
        for (int16_t c = 1; c <= m().ncarte; ++c)
            n += covered(c);
        return n;
    }

    FakeTable table;
    ManualScheduler scheduler;
    testing::MtRandom random;
    Game game;
    int elapsed = 0;
};

struct Size {
    int16_t ncarte, righe;
};

class GameSizes : public GameTest, public ::testing::WithParamInterface<Size> {};

// The grid of a 1000 x 700 window: side, left and top of the cells.
struct Grid {
    int lato, sinistra, sopra, cols;
};
Grid gridFor(int16_t ncarte)
{
    return ncarte == 20 ? Grid{140, 150, 4, 5} : ncarte == 48 ? Grid{93, 128, 4, 8} : Grid{70, 150, 4, 10};
}

TEST_P(GameSizes, DealsEachUsedPictureOnExactlyTwoCardsLaidFaceDownOnePerCell)
{
    start(GetParam().ncarte, GetParam().righe);
    const int16_t n = m().ncarte;
    std::multiset<int> pics;
    for (int16_t c = 1; c <= n; ++c) {
        ASSERT_TRUE(covered(c)) << c;
        pics.insert(table.picIndexOf(c));
        EXPECT_EQ(table.facePicture(c), table.facePicture(partner(c)));
    }
    EXPECT_EQ(pics.count(0), 0u);
    for (int k : pics)
        EXPECT_EQ(pics.count(k), 2u);
    EXPECT_EQ(std::set<int>(pics.begin(), pics.end()).size(), static_cast<size_t>(n / 2));

    // Every cell of the grid holds one card, face and back on the same square.
    const Grid g = gridFor(n);
    std::set<int> cells;
    for (int16_t c = 1; c <= n; ++c) {
        const CellRect r = table.faces[c].rect;
        EXPECT_EQ((table.backs[{n, c}].rect), r) << c;
        EXPECT_EQ(r.width, g.lato);
        EXPECT_EQ(r.height, g.lato);
        EXPECT_EQ((r.left - g.sinistra) % g.lato, 0) << c;
        EXPECT_EQ((r.top - g.sopra) % g.lato, 0) << c;
        const int col = (r.left - g.sinistra) / g.lato;
        const int row = (r.top - g.sopra) / g.lato;
        EXPECT_TRUE(col >= 0 && col < g.cols && row >= 0 && row < m().righe) << c;
        cells.insert(row * g.cols + col);
    }
    EXPECT_EQ(cells.size(), static_cast<size_t>(n));
    // The other sizes' backs are left alone.
    for (int16_t other : {20, 48, 80}) {
        if (other != n) {
            EXPECT_FALSE(table.backVisible(other, 1));
        }
    }
}

// Over many deals the faces come from all 40 pictures, and the cards of a
// pair land at cells as unrelated as any two others.
TEST_F(GameTest, DealsPicturesFromAllFortyAndScattersThePairs)
{
    std::set<int> used;
    std::set<int> cellsOfCard1;
    int pairsHalfATableApart = 0;
    const Grid g = gridFor(20);
    const auto cell = [&](int16_t c) {
        const CellRect r = table.faces[c].rect;
        return (r.top - g.sopra) / g.lato * g.cols + (r.left - g.sinistra) / g.lato;
    };
    for (int deal = 0; deal < 40; ++deal) {
        start();
        for (int16_t c = 1; c <= 10; ++c) {
            used.insert(table.picIndexOf(c));
            pairsHalfATableApart += std::abs(cell(c) - cell(partner(c))) == 10;
        }
        cellsOfCard1.insert(cell(1));
    }
    EXPECT_EQ(used.size(), 40u);
    EXPECT_GE(cellsOfCard1.size(), 12u);
    // 400 pairs; about one in 19 lies half a table apart by chance.
    EXPECT_LT(pairsHalfATableApart, 60);
}

TEST_P(GameSizes, EndsAfterEveryPairWithAOneSecondPauseThenWaitsFaceUp)
{
    start(GetParam().ncarte, GetParam().righe);
    const int16_t half = m().ncarte / 2;
    for (int16_t c = 1; c <= half; ++c) {
        turn(c);
        turn(partner(c));
        if (c < half) {
            EXPECT_EQ(m().trovate, 2 * c);
            EXPECT_FALSE(game.pausing());
        }
    }
    // The last pair: the counter wraps to 0 and the loop pauses 1000 ms.
    EXPECT_EQ(m().trovate, 0);
    EXPECT_TRUE(game.pausing());
    EXPECT_EQ(scheduler.timerMs, 1000);
    advance(999);
    EXPECT_TRUE(game.pausing());
    advance(1);
    EXPECT_FALSE(game.pausing());
    EXPECT_FALSE(scheduler.timerMs.has_value());
    for (int16_t c = 1; c <= m().ncarte; ++c)
        EXPECT_TRUE(uncovered(c)) << c;
    EXPECT_TRUE(game.loopAlive());
}

INSTANTIATE_TEST_SUITE_P(Tables, GameSizes, ::testing::Values(Size{20, 4}, Size{48, 6}, Size{80, 8}),
                         [](const auto& info) { return "Cards" + std::to_string(info.param.ncarte); });

TEST_F(GameTest, AMatchStaysUpAtOnceWithoutAPauseAndEachTurnRustles)
{
    start();
    turn(3);
    EXPECT_TRUE(uncovered(3));
    EXPECT_EQ(m().prima, 3);
    turn(partner(3));
    EXPECT_TRUE(uncovered(3));
    EXPECT_TRUE(uncovered(partner(3)));
    EXPECT_EQ(m().trovate, 2);
    EXPECT_FALSE(scheduler.timerMs.has_value());
    EXPECT_EQ(m().prima, 0);
    EXPECT_EQ(m().seconda, 0);
    EXPECT_EQ(table.rustles, 2);
    table.rustle = false;  // switched off: turns are silent
    turn(2);
    EXPECT_EQ(table.rustles, 2);
}

TEST_F(GameTest, AMissStaysUpFifteenHundredMillisecondsThenIsCovered)
{
    miss();
    EXPECT_EQ(scheduler.timerMs, 1500);
    advance(1499);
    EXPECT_TRUE(uncovered(1));
    EXPECT_TRUE(uncovered(nonPartner(1)));
    advance(1);
    EXPECT_TRUE(covered(1));
    EXPECT_TRUE(covered(nonPartner(1)));
    EXPECT_EQ(m().trovate, 0);
    // The next move can start at once.
    turn(5);
    EXPECT_TRUE(uncovered(5));
}

TEST_F(GameTest, ClicksDuringTheMissPauseAreRefusedSilentlyButHideThePanels)
{
    miss();
    const int rustles = table.rustles;
    const int panels = table.panelsHidden;
    turn(7);
    turn(8);
    EXPECT_EQ(table.rustles, rustles);
    EXPECT_EQ(table.panelsHidden, panels + 2);
    EXPECT_EQ(m().prima, 1);
    EXPECT_EQ(m().seconda, nonPartner(1));
    EXPECT_TRUE(covered(7));
    advance(1500);
    EXPECT_TRUE(covered(7));
    EXPECT_TRUE(covered(8));
}

// Leaving a table with pairs found and a card up covers every card and shows
// the start window at the next pass; during the pause after the last pair,
// once the pause ends. Either way the loop then waits for clicks again.
TEST_F(GameTest, LeavingWithPairsFoundOrInTheEndPauseCoversEveryCard)
{
    for (const bool ended : {false, true}) {
        start(48, 6);
        const int16_t upTo = ended ? 24 : 3;
        for (int16_t c = 1; c <= upTo; ++c) {
            turn(c);
            turn(partner(c));
        }
        if (!ended)
            turn(7);
        ASSERT_EQ(game.pausing(), ended);
        const int shown = table.startWindowShown;
        game.requestLeaveTable();
        EXPECT_EQ(m().stato, TableModel::kLeaveTable);
        EXPECT_EQ(m().prima, 0);
        if (ended)
            game.hideAllFaces();  // what the exit control does beside the model
        pump();
        EXPECT_EQ(table.startWindowShown, shown + !ended) << ended;
        advance(1000);
        EXPECT_EQ(table.startWindowShown, shown + 1) << ended;
        EXPECT_EQ(coveredCount(), 48) << ended;
        EXPECT_EQ(m().stato, 0);
        turn(9);
        EXPECT_TRUE(uncovered(9)) << ended;
    }
}

TEST_F(GameTest, LeavingDuringTheMissPauseCoversTheTableOnceThePauseEnds)
{
    miss();
    game.requestLeaveTable();
    game.hideAllFaces();  // what the exit control does beside the model
    pump();
    EXPECT_EQ(table.startWindowShown, 0);  // still inside the pause
    advance(1500);
    EXPECT_EQ(table.startWindowShown, 1);
    EXPECT_EQ(m().stato, 0);
    EXPECT_EQ(m().trovate, 0);
    EXPECT_EQ(coveredCount(), 20);
}

TEST_F(GameTest, ANewGameDuringTheMissPauseRetiresTheOldLoopForGood)
{
    miss();
    start(80, 8);
    EXPECT_EQ(game.gamesStarted(), 2u);
    EXPECT_FALSE(scheduler.timerMs.has_value());  // the old pause's timer is stopped
    EXPECT_EQ(coveredCount(), 80);
    EXPECT_EQ(m().prima, 0);
    turn(1);
    advance(5000);
    // Nothing of the old move comes back: card 1 is the new move's first card.
    EXPECT_TRUE(uncovered(1));
    EXPECT_EQ(m().prima, 1);
    EXPECT_EQ(coveredCount(), 79);
}

TEST_F(GameTest, RefusedClicksNeitherLoseACardNorPairOneWithItself)
{
    // A third card while the pair is set is refused; both set cards are
    // uncovered before the check.
    start();
    click(2);
    click(partner(2));
    click(6);
    pump();
    EXPECT_TRUE(uncovered(2));
    EXPECT_TRUE(uncovered(partner(2)));
    EXPECT_TRUE(covered(6));
    EXPECT_EQ(m().trovate, 2);
    // A found card, a back of another table size, an index past the table.
    turn(2);
    game.dorsoClick(48, 3);
    game.dorsoClick(20, 21);
    pump();
    EXPECT_EQ(m().prima, 0);
    // The same card twice is one first card, not a pair.
    click(5);
    click(5);
    pump();
    EXPECT_EQ(m().prima, 5);
    EXPECT_EQ(m().seconda, 0);
    EXPECT_EQ(m().trovate, 2);
    EXPECT_EQ(table.rustles, 3);
}

TEST_F(GameTest, AWaitingGameRequestsNoPassUntilSomethingHappens)
{
    start();
    const int requests = scheduler.passRequests;
    pump();
    game.runPass();
    EXPECT_EQ(scheduler.passRequests, requests);
    turn(1);
    EXPECT_EQ(scheduler.passRequests, requests + 1);
}

}  // namespace
}  // namespace pairly
