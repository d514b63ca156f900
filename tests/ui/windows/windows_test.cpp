// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_test.h"
#include "resources/program_folder.h"
#include "sound/media_device.h"
#include "sound/music.h"
#include "sound/music_strip.h"
#include "tests/ui/pointer.h"
#include "ui/common/caption_label.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace pairly {
namespace {

using testing::hover;

const QColor kYellow(255, 255, 0);
const QColor kOrange(255, 128, 0);

class Windows : public testing::ProgramTest {};

TEST_F(Windows, TheFirstShowingCoversTheScreenWithACoveredTwentyCardTable)
{
    Form1& f = play();
    EXPECT_EQ(model().larghezza, f.surface().width());
    EXPECT_EQ(model().altezza, f.surface().height());
    EXPECT_EQ(coveredCards(), 20);
    EXPECT_EQ(checkedItems(u"options"), std::vector<QString>{"20 cards"});
    EXPECT_EQ(checkedItems(u"sounds"), std::vector<QString>{"card rustle"});
    EXPECT_EQ(checkedItems(u"music"), (std::vector<QString>{"sequential mode", "Chill1"}));
    EXPECT_EQ(f.music().brano(), 1);
    for (int n = 1; n <= 3; ++n)
        EXPECT_FALSE(f.Text(n)->isVisible()) << n;
    EXPECT_FALSE(f.MMC1().isVisible());
    EXPECT_TRUE(audio->opened.last().endsWith(QStringLiteral("/music/Chill1.mid")));
    // Every song item plays its song alone.
    for (int16_t k = 1; k <= 10; ++k) {
        action(u"canzoni", k)->trigger();
        EXPECT_EQ(checkedItems(u"music"), std::vector<QString>{action(u"canzoni", k)->text()}) << k;
        EXPECT_TRUE(audio->opened.last().contains("/music/" + action(u"canzoni", k)->text() + ".")) << k;
    }
}

TEST_F(Windows, ActivationPlacesThePanelsAndExitForTheRecordedSize)
{
    Form1& f = play();
    model().larghezza = 1000;
    model().altezza = 700;
    f.Text(1)->show();
    f.Form_Activate();
    for (int n : {1, 2}) {
        EXPECT_EQ(f.Text(n)->geometry(), QRect(5, 0, 400, 280)) << n;
        EXPECT_FALSE(f.Text(n)->isVisible());
    }
    EXPECT_EQ(f.Text(3)->pos(), QPoint(150, 0));
    EXPECT_EQ(f.lblquit()->pos(), QPoint(875, 601));  // 600.83
}

TEST_F(Windows, ExitDuringA48CardGameClearsTheTableAndBringsUpTheStartWindow)
{
    play();
    action(u"quarantotto")->trigger();
    ASSERT_EQ(model().ncarte, 48);
    turn(5);
    QTest::mouseClick(form().lblquit(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return startWindowAlone(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return model().stato == 0; }));
    EXPECT_EQ(model().prima, 0);
    EXPECT_EQ(model().seconda, 0);
    const QRect table = form().surface().rect();
    for (int16_t c = 1; c <= 80; ++c) {
        if (ImageControl* img = face(c)) {
            EXPECT_FALSE(img->isVisible()) << c;
        }
        for (int16_t size : {20, 48, 80}) {
            if (ImageControl* b = form().backs(size)->element(c)) {
                EXPECT_FALSE(table.intersects(b->geometry())) << size << " " << c;
            }
        }
    }
}

// "Play" and "Exit" hide the window left before they show the other, which a
// tiling window manager then gives the whole screen; and they activate the
// window shown before the one left is deactivated: told of the deactivation
// first, Orca 43 may take the next window for its own without reading its
// title. A screen reader hears of the platform's activations, the
// spontaneous ones.
TEST_F(Windows, AChangeOfWindowHidesTheOneLeftFirstAndActivatesTheOtherFirst)
{
    struct Order : QObject {
        std::vector<std::pair<QObject*, QEvent::Type>> seen;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            const QEvent::Type t = e->type();
            const bool activation = e->spontaneous() && (t == QEvent::WindowActivate || t == QEvent::WindowDeactivate);
            const bool shown = t == QEvent::Show || t == QEvent::Hide;
            if (o->isWidgetType() && static_cast<QWidget*>(o)->isWindow() && (activation || shown))
                seen.emplace_back(o, t);
            return false;
        }
        bool before(std::pair<QObject*, QEvent::Type> a, std::pair<QObject*, QEvent::Type> b) const
        {
            const auto first = std::find(seen.begin(), seen.end(), a);
            return first != seen.end() && std::find(first, seen.end(), b) != seen.end();
        }
    };
    QWidget& start = program.startWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&start));
    for (const bool toGame : {true, false, true}) {
        Order order;
        qApp->installEventFilter(&order);
        if (toGame)
            play();
        else
            QTest::mouseClick(form().lblquit(), Qt::LeftButton);
        QWidget* from = toGame ? &start : &form();
        QWidget* to = toGame ? &form() : &start;
        EXPECT_TRUE(QTest::qWaitForWindowActive(to));
        qApp->removeEventFilter(&order);
        EXPECT_TRUE(order.before({from, QEvent::Hide}, {to, QEvent::Show})) << toGame;
        EXPECT_TRUE(order.before({to, QEvent::WindowActivate}, {from, QEvent::WindowDeactivate})) << toGame;
    }
}

// Labels turn orange under the pointer and stay so over other controls, the
// version box included, until it reaches the bare surface.
TEST_F(Windows, LabelsStayOrangeUntilThePointerReachesTheBareSurface)
{
    frmmain& s = program.startWindow();
    for (CaptionLabel* label : {s.lblInfo(), s.lblplay(), s.lblquit()}) {
        hover(label, QPoint(5, 5));
        EXPECT_EQ(label->foreground(), kOrange);
    }
    hover(s.Text4(), QPoint(5, 5));
    EXPECT_EQ(s.lblquit()->foreground(), kOrange);
    hover(&s.surface(), QPoint(3, 3));
    for (CaptionLabel* label : {s.lblInfo(), s.lblplay(), s.lblquit()})
        EXPECT_EQ(label->foreground(), kYellow);

    Form1& f = play();
    EXPECT_EQ(f.lblquit()->foreground(), kYellow);
    hover(f.lblquit(), QPoint(10, 10));
    hover(back(1), QPoint(5, 5));
    EXPECT_EQ(f.lblquit()->foreground(), kOrange);
    hover(&f.surface(), QPoint(f.surface().width() - 5, f.surface().height() - 5));
    EXPECT_EQ(f.lblquit()->foreground(), kYellow);
}

TEST_F(Windows, TheLabelsSitAtTheirFractionsOfTheStartWindow)
{
    frmmain& s = program.startWindow();
    const float W = s.surface().width();
    const float H = s.surface().height();
    const int top = qRound(static_cast<float>(H * (106.5 / 120)));
    EXPECT_EQ(s.lblInfo()->pos(), QPoint(qRound(W * (15.0f / 120.0f)), top));
    EXPECT_EQ(s.lblplay()->pos(), QPoint(qRound(W * (50.0f / 120.0f)), top));
    EXPECT_EQ(s.lblquit()->pos(), QPoint(qRound(W * (105.0f / 120.0f)), top));
    EXPECT_EQ(s.Text4()->pos(), QPoint(10, 0));
}

TEST_F(Windows, InfoTogglesTheVersionBoxAndAClickElsewhereHidesIt)
{
    frmmain& s = program.startWindow();
    EXPECT_FALSE(s.Text4()->isVisible());
    QTest::mouseClick(s.lblInfo(), Qt::LeftButton);
    EXPECT_TRUE(s.Text4()->isVisible());
    QTest::mouseClick(s.lblInfo(), Qt::LeftButton);
    EXPECT_FALSE(s.Text4()->isVisible());
    QTest::mouseClick(s.lblInfo(), Qt::LeftButton);
    QTest::mouseClick(&s.surface(), Qt::LeftButton, {}, QPoint(600, 300));
    EXPECT_FALSE(s.Text4()->isVisible());
    QTest::mouseClick(s.lblInfo(), Qt::LeftButton);
    QTest::mouseClick(s.Text4()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(s.Text4()->isVisible());
}

// Every row of the panels' state table: the visible panel before, the
// command, the visible panel after (0 = none).
TEST_F(Windows, PanelCommandsFollowTheirStateTable)
{
    Form1& f = play();
    enum Command { Italiano, English, Info, ClickOnPanel, CardClick, SizeCommand };
    struct Step {
        int before;
        Command command;
        int after;
    };
    const Step table[] = {
        {0, Italiano, 1}, {0, English, 2}, {0, Info, 3},
        {1, Italiano, 0}, {1, English, 2}, {1, Info, 3}, {1, ClickOnPanel, 0},
        {2, Italiano, 1}, {2, English, 0}, {2, Info, 3}, {2, ClickOnPanel, 0},
        {3, Italiano, 1}, {3, English, 2}, {3, Info, 0}, {3, ClickOnPanel, 0},
        {1, CardClick, 0}, {2, CardClick, 0}, {3, CardClick, 0},
        {1, SizeCommand, 0}, {3, SizeCommand, 0},
    };
    for (const Step& step : table) {
        for (int n = 1; n <= 3; ++n)
            f.Text(n)->setVisible(n == step.before);
        switch (step.command) {
        case Italiano: action(u"italiano", 1)->trigger(); break;
        case English: action(u"inglese", 2)->trigger(); break;
        case Info: action(u"menu_about")->trigger(); break;
        case ClickOnPanel: QTest::mouseClick(f.Text(step.before)->viewport(), Qt::LeftButton); break;
        case CardClick: QTest::mouseClick(back(model().ncarte), Qt::LeftButton); break;
        case SizeCommand: action(u"venti")->trigger(); break;
        }
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(f.Text(n)->isVisible(), n == step.after)
                << "from " << step.before << " command " << step.command << " panel " << n;
    }
}

// A compositor that refuses every activation: "Play", "Exit" and "Play"
// again still show the right window alone, the same game window each time
// with a new game; the return hides the rules, not the information panel.
TEST_F(Windows, TheFlowNeedsNoActivationFromThePlatform)
{
    struct RefuseActivation : QObject {
        bool eventFilter(QObject*, QEvent* e) override
        {
            return e->type() == QEvent::WindowActivate || e->type() == QEvent::ActivationChange
                   || e->type() == QEvent::FocusIn;
        }
    } refuse;
    qApp->installEventFilter(&refuse);
    Form1& f = play();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(program.startWindow().isVisible());
    EXPECT_EQ(coveredCards(), 20);
    turn(1);
    const uint64_t before = games();
    QTest::mouseClick(f.lblquit(), Qt::LeftButton);
    EXPECT_TRUE(startWindowAlone());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().stato == 0; }));
    EXPECT_TRUE(startWindowAlone());
    f.Text(3)->show();
    f.Text(1)->show();
    EXPECT_EQ(&play(), &f);  // never a second game window
    EXPECT_EQ(games(), before + 1);
    EXPECT_FALSE(program.startWindow().isVisible());
    EXPECT_FALSE(f.Text(1)->isVisible());
    EXPECT_TRUE(f.Text(3)->isVisible());
    EXPECT_EQ(coveredCards(), 20);
    qApp->removeEventFilter(&refuse);
}

// The music strip lies over the cards, and a panel over the strip.
TEST_F(Windows, PanelsLieOverTheMusicStripAndTheStripOverTheCards)
{
    Form1& f = play();
    action(u"all")->trigger();
    auto* strip = f.surface().findChild<MusicStrip*>();
    ASSERT_TRUE(strip && strip->isVisible());
    // A table and panels laid out for a wide screen reach over the strip's place.
    model().larghezza = 1600;
    model().altezza = 1000;
    f.Form_Activate();
    const QPoint spot = strip->geometry().center();
    const auto topmost = [&] {
        QWidget* w = f.surface().childAt(spot);
        while (w && w->parentWidget() != &f.surface())
            w = w->parentWidget();
        return w;
    };
    bool onACard = false;
    for (int16_t c = 1; c <= 20; ++c)
        onACard = onACard || (back(c)->isVisible() && back(c)->geometry().contains(spot));
    ASSERT_TRUE(onACard);
    EXPECT_EQ(topmost(), strip);
    action(u"italiano", 1)->trigger();
    EXPECT_EQ(topmost(), f.Text(1));
    action(u"menu_about")->trigger();
    f.Text(3)->move(spot - QPoint(5, 5));
    EXPECT_EQ(topmost(), f.Text(3));
}

TEST_F(Windows, OnlyAReturnFromTheStartWindowActivatesANewGame)
{
    Form1& f = play();
    const uint64_t games = f.game().gamesStarted();
    // Another window of the desktop taking the focus and giving it back.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(f.game().gamesStarted(), games);
}

// "card rustle" is on from the start with "carta.wav" beside the program
// open, and every turn plays it. Switched off, turns are silent and the
// device closed; switched on, the file is opened again and turns rustle, one
// right after the other too.
TEST_F(Windows, TheRustleItemSwitchesTheEffectOffAndOnAndCardTurnsFollowIt)
{
    Form1& f = play();
    const QString carta = besideProgram(QStringLiteral("\\carta.wav"));
    QAction* cards = action(u"cards");
    ASSERT_TRUE(audio->effect && audio->effect->path == carta);
    const int before = audio->plays;
    turn(1);
    EXPECT_EQ(audio->plays, before + 1);
    cards->trigger();
    EXPECT_FALSE(cards->isChecked());
    EXPECT_EQ(f.MMCw().mode(), MediaDevice::Mode::NotOpen);
    turn(partner(1));
    EXPECT_EQ(audio->plays, before + 1);
    cards->trigger();
    EXPECT_TRUE(cards->isChecked());
    EXPECT_NE(f.MMCw().mode(), MediaDevice::Mode::NotOpen);
    EXPECT_EQ(audio->opened.count(carta), 2);
    turn(2);
    turn(partner(2));
    EXPECT_EQ(audio->plays, before + 3);
}

}  // namespace
}  // namespace pairly
