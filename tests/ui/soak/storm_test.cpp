// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game.h"
#include "tests/sound/fake_audio_backend.h"
#include "ui/common/caption_label.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"
#include "ui/common/menu_bar.h"
#include "ui/common/surface_widget.h"
#include "ui/game/form1.h"
#include "ui/program.h"
#include "ui/start/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace pairly {
namespace {

bool hidden(const ImageControl* control) { return !control || control->isHidden(); }

// What must hold between any two events of a game window, whatever the
// player did. Each broken rule is one line of the result; empty when all hold.
class Invariants {
public:
    static std::vector<std::string> brokenIn(Form1& form)
    {
        Invariants r;
        const TableModel& m = form.game().model();
        r.cards(form, m);
        if (m.prima != 0 && m.prima == m.seconda)
            r.fail("card ", m.prima, " is both cards of the move");
        if (form.Img()->element(0)->picture())
            r.fail("Img(0) holds a picture");
        return r.lines_;
    }

private:
    template <typename... Args>
    void fail(const Args&... args)
    {
        std::string line;
        ((line += toText(args)), ...);
        lines_.push_back(line);
    }
    static std::string toText(const char* text) { return text; }
    static std::string toText(int value) { return std::to_string(value); }

    // The table is laid out unless the exit control has sent its backs away.
    void cards(Form1& form, const TableModel& m)
    {
        const QRect table = form.surface().rect();
        int faceUp = 0;
        int inSight = 0;
        for (int16_t c = 1; c <= m.ncarte; ++c) {
            const ImageControl* face = form.Img()->element(c);
            const ImageControl* back = form.backs(m.ncarte)->element(c);
            if (table.intersects(back->geometry())) {
                ++inSight;
                if (hidden(face) == back->isHidden())
                    fail("card ", c, hidden(face) ? " shows neither face nor back" : " shows face and back");
                faceUp += !hidden(face);
            }
        }
        if (inSight != 0 && inSight != m.ncarte)
            fail(inSight, " of ", m.ncarte, " backs on the table");
        // No back of another size and no model back may show on the table.
        for (int16_t size : {20, 48, 80}) {
            for (int16_t c = 0; c <= size; ++c) {
                const ImageControl* back = form.backs(size)->element(c);
                if (!back->isHidden() && (c == 0 || size != m.ncarte) && table.intersects(back->geometry()))
                    fail("back ", c, " of the ", size, "-card table shows on the ", m.ncarte, "-card table");
            }
        }
        if (inSight == 0 || m.stato == TableModel::kLeaveTable)
            return;
        int inMove = 0;
        for (int16_t c : {m.prima, m.seconda})
            inMove += c != 0 && !hidden(form.Img()->element(c));
        if (faceUp - inMove < m.trovate)
            fail(m.trovate, " cards found but only ", faceUp - inMove, " face up outside the move");
    }

    std::vector<std::string> lines_;
};

// A seeded random storm of what a player, the desktop and the pause timer do
// to a game, one event at a time. Time does not pass: the pause timer's ticks
// are events of the storm like the clicks.
class EventStorm {
public:
    // Clicks and ticks dominate, so that games get played to the end between
    // the commands that interrupt them.
    enum Kind {
        PairClick,     // the partner of a turned card, or any covered card
        CoveredClick,  // any covered card of the table
        SizeCommand, Exit, Play, Activation, Tick, kKinds
    };
    static constexpr std::array<int, kKinds> kWeights = {20, 12, 3, 2, 3, 2, 16};
    static constexpr std::array<const char*, kKinds> kNames = {
        "pair click", "covered click", "size command", "exit", "play", "activation", "tick"};

    EventStorm(Program& program, uint32_t seed) : program_(program), random_(seed) {}

    // Sends one event and delivers everything it queued. Returns its name.
    const char* step()
    {
        const Kind kind = pick();
        ++counts[kind];
        send(kind);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if (Form1* form = program_.gameWindow()) {
            const TableModel& m = form->game().model();
            // The last pair resets the count within the same pass and starts the pause.
            tablesCleared += m.trovate == 0 && lastTrovate_ == m.ncarte - 2 && form->game().pausing();
            lastTrovate_ = m.trovate;
        }
        return kNames[kind];
    }

    std::array<uint64_t, kKinds> counts{};
    uint64_t tablesCleared = 0;

private:
    int draw(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return draw(100) < percent; }
    int16_t anyCard(int16_t ncarte) { return static_cast<int16_t>(1 + draw(ncarte)); }

    Kind pick()
    {
        if (!program_.gameWindow())
            return Play;
        // Now and then a player just plays for a while, so that tables get cleared.
        if (focus_ == 0 && chance(1))
            focus_ = 120;
        if (focus_ > 0) {
            --focus_;
            return chance(75) ? PairClick : Tick;
        }
        std::discrete_distribution<size_t> d(kWeights.begin(), kWeights.end());
        return static_cast<Kind>(d(random_));
    }

    static bool faceUp(Form1& form, int16_t c) { return !hidden(form.Img()->element(c)); }

    int16_t coveredCard(Form1& form)
    {
        const int16_t n = form.game().model().ncarte;
        std::vector<int16_t> covered;
        for (int16_t c = 1; c <= n; ++c)
            if (!faceUp(form, c) && !hidden(form.backs(n)->element(c)))
                covered.push_back(c);
        return covered.empty() ? anyCard(n) : covered[size_t(draw(int(covered.size())))];
    }

    int16_t partnerOf(Form1& form, int16_t c)
    {
        const ImageControl* face = form.Img()->element(c);
        for (int16_t other = 1; face && other <= form.game().model().ncarte; ++other) {
            const ImageControl* candidate = form.Img()->element(other);
            if (other != c && candidate && candidate->picture() == face->picture())
                return other;
        }
        return coveredCard(form);
    }

    // A real click, or the array's handler called directly.
    void clickCard(Form1& form, int16_t c, bool realClick)
    {
        const int16_t size = form.game().model().ncarte;
        if (realClick)
            QTest::mouseClick(form.backs(size)->element(c), Qt::LeftButton);
        else
            size == 20 ? form.dorso20_Click(c) : size == 48 ? form.dorso48_Click(c) : form.dorso80_Click(c);
    }

    void send(Kind kind)
    {
        frmmain& start = program_.startWindow();
        if (kind == Play) {
            if (chance(50))
                QTest::mouseClick(start.lblplay(), Qt::LeftButton);
            else
                start.lblplay_Click();
            return;
        }
        Form1& form = *program_.gameWindow();
        const TableModel& m = form.game().model();
        const bool real = chance(20);
        switch (kind) {
        case PairClick: {
            const int16_t first = m.prima != 0 ? m.prima : m.cliccata;
            clickCard(form, first != 0 && chance(70) ? partnerOf(form, first) : coveredCard(form), real);
            break;
        }
        case CoveredClick:
            clickCard(form, coveredCard(form), real);
            break;
        case SizeCommand: {
            static constexpr std::array<const char16_t*, 3> items = {u"venti", u"quarantotto", u"ottanta"};
            form.menu().action(QStringView(items[size_t(draw(3))]))->trigger();
            break;
        }
        case Exit:
            if (real)
                QTest::mouseClick(form.lblquit(), Qt::LeftButton);
            else
                form.lblquit_Click();
            break;
        case Activation:
            // Directly, or back from the start window.
            if (chance(50)) {
                form.Form_Activate();
            } else {
                start.showInFront();
                QCoreApplication::processEvents();
                form.activateWindow();
            }
            break;
        case Tick:
            form.game().Timer1_Timer();
            break;
        default:
            break;
        }
    }

    Program& program_;
    std::mt19937 random_;
    int16_t lastTrovate_ = 0;
    int focus_ = 0;  // events left in a run of card clicks and ticks only
};

// A storm of game input against the real windows; after each event the
// table and the size menu must be in a state a game can be in.
TEST(EventStormSoak, EveryEventLeavesAConsistentGame)
{
    constexpr uint64_t events = 10000;
    constexpr uint32_t seed = 20261205;
    auto audio = std::make_shared<testing::FakeAudioBackend>();
    Program program{[audio] { return audio; }};
    program.start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program.startWindow()));

    EventStorm storm(program, seed);
    std::vector<const char*> recent;
    for (uint64_t n = 0; n < events; ++n) {
        recent.push_back(storm.step());
        Form1* form = program.gameWindow();
        if (!form || form->game().gamesStarted() == 0)
            continue;
        const std::vector<std::string> broken = Invariants::brokenIn(*form);
        if (!broken.empty()) {
            std::string trail;
            for (size_t k = recent.size() > 12 ? recent.size() - 12 : 0; k < recent.size(); ++k)
                trail += std::string(" > ") + recent[k];
            for (const std::string& line : broken)
                trail += "\n  " + line;
            FAIL() << "seed " << seed << ", event " << n + 1 << ":" << trail;
        }
    }
    for (int k = 0; k < EventStorm::kKinds; ++k)
        EXPECT_GT(storm.counts[k], 0u) << EventStorm::kNames[k];
    EXPECT_GT(storm.tablesCleared, 0u);
}

}  // namespace
}  // namespace pairly
