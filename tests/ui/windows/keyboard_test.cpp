// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_test.h"
#include "tests/ui/pointer.h"
#include "ui/common/caption_label.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace pairly {
namespace {

using testing::hover;

const QColor kHighlight(255, 128, 0);

// The real program, played from the keyboard.
class Keyboard : public testing::ProgramTest {
protected:
    // Which of "Info", "Play", "Quit" are orange, as "IPQ" with '-' for a yellow one.
    QString orange()
    {
        frmmain& s = program.startWindow();
        QString shown;
        for (auto [label, letter] : {std::pair{s.lblInfo(), 'I'}, {s.lblplay(), 'P'}, {s.lblquit(), 'Q'}})
            shown += label->foreground() == kHighlight ? QChar(letter) : QChar('-');
        return shown;
    }

    QWidget* frame() { return form().findChild<QWidget*>(QStringLiteral("cardCursor")); }
    int16_t cardAt(int row, int column) { return model().ordine[row * model().colonne() + column + 1]; }
    void key(Qt::Key k, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(&form(), k);
    }
    // The arrows from the cursor's place to (row, column), then Enter.
    void enterAt(int row, int column)
    {
        key(row > at.first ? Qt::Key_Down : Qt::Key_Up, std::abs(row - at.first));
        key(column > at.second ? Qt::Key_Right : Qt::Key_Left, std::abs(column - at.second));
        at = {row, column};
        ASSERT_EQ(frame()->geometry(), back(cardAt(row, column))->geometry());
        key(Qt::Key_Return);
        QTest::qWait(0);  // the game's pass
    }
    std::pair<int, int> placeOf(int16_t c)
    {
        for (int p = 0; p < model().ncarte; ++p) {
            if (model().ordine[p + 1] == c)
                return {p / model().colonne(), p % model().colonne()};
        }
        return {-1, -1};
    }

    std::pair<int, int> at{0, 0};
};

// The first key gives the attention to "Play"; the arrows stop at the row's
// ends, Tab and Shift+Tab go round; a move over the surface takes it away.
TEST_F(Keyboard, TheStartWindowsAttentionMovesAlongItsLabels)
{
    frmmain& s = program.startWindow();
    EXPECT_EQ(orange(), "---");
    const std::pair<Qt::Key, const char*> steps[] = {
        {Qt::Key_Left, "-P-"}, {Qt::Key_Left, "I--"},    {Qt::Key_Left, "I--"}, {Qt::Key_Backtab, "--Q"},
        {Qt::Key_Right, "--Q"}, {Qt::Key_Tab, "I--"},    {Qt::Key_Down, "I--"}, {Qt::Key_Right, "-P-"},
    };
    for (auto [k, after] : steps) {
        QTest::keyClick(&s, k);
        EXPECT_EQ(orange(), after) << k;
    }
    EXPECT_EQ(QApplication::focusWidget(), nullptr);  // the attention is not Qt's focus

    hover(&s.surface(), QPoint(3, 3));
    EXPECT_EQ(orange(), "---");
    QTest::keyClick(&s, Qt::Key_Return);  // nothing has the attention
    EXPECT_FALSE(s.Text4()->isVisible());

    QTest::keyClick(&s, Qt::Key_Tab);
    EXPECT_EQ(orange(), "-P-");
    QTest::keyClick(&s, Qt::Key_Left);
    QTest::keyClick(&s, Qt::Key_Space);  // "Info" clicked
    EXPECT_TRUE(s.Text4()->isVisible());
    QTest::keyClick(&s, Qt::Key_Return);
    EXPECT_FALSE(s.Text4()->isVisible());
}

// The cursor shows only after an arrow key, on the top-left card, stops at
// the edges, lies over the cards and under the panels, and goes at a move of
// the pointer; a size command keeps it on the table, a return to the table
// puts it back at the top-left.
TEST_F(Keyboard, TheCardCursorFollowsTheArrowsAndStaysOnTheTable)
{
    play();
    ASSERT_NE(frame(), nullptr);
    EXPECT_FALSE(frame()->isVisible());
    key(Qt::Key_Left);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(frame()->geometry(), back(cardAt(0, 0))->geometry());
    key(Qt::Key_Up, 2);
    EXPECT_EQ(frame()->geometry(), back(cardAt(0, 0))->geometry());
    key(Qt::Key_Right, 9);
    key(Qt::Key_Down, 9);
    EXPECT_EQ(frame()->geometry(), back(cardAt(3, 4))->geometry());

    const QObjectList& stack = form().surface().children();
    for (int16_t c = 1; c <= 20; ++c)
        EXPECT_GT(stack.indexOf(frame()), stack.indexOf(face(c))) << c;
    for (int n = 1; n <= 3; ++n)
        EXPECT_LT(stack.indexOf(frame()), stack.indexOf(form().Text(n))) << n;

    hover(back(cardAt(1, 1)), QPoint(5, 5));
    EXPECT_FALSE(frame()->isVisible());
    key(Qt::Key_Down);  // shows it again where it was
    EXPECT_EQ(frame()->geometry(), back(cardAt(3, 4))->geometry());

    form().menu().action(u"ottanta")->trigger();
    key(Qt::Key_Right, 9);
    key(Qt::Key_Down, 9);
    EXPECT_EQ(frame()->geometry(), back(cardAt(7, 9))->geometry());
    form().menu().action(u"venti")->trigger();
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(frame()->geometry(), back(cardAt(3, 4))->geometry());

    // Tab: to "Exit" and back; Enter on "Exit" leaves the table.
    key(Qt::Key_Tab);
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(form().lblquit()->foreground(), kHighlight);
    key(Qt::Key_Backtab);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_NE(form().lblquit()->foreground(), kHighlight);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model().stato == 0 && program.startWindow().isVisible(); }));
    play();
    EXPECT_FALSE(frame()->isVisible());
    key(Qt::Key_Right);
    EXPECT_EQ(frame()->geometry(), back(cardAt(0, 0))->geometry());
}

// Enter turns the card under the cursor through the click rules: refused on
// the move's own first card, during a miss's pause, and on a card that is up.
TEST_F(Keyboard, EnterTurnsTheCardUnderTheCursorByTheClickRules)
{
    play();
    key(Qt::Key_Down);
    const int16_t first = cardAt(0, 0);
    enterAt(0, 0);
    EXPECT_EQ(model().prima, first);
    EXPECT_TRUE(face(first)->isVisible());
    enterAt(0, 0);
    EXPECT_EQ(model().seconda, 0);

    const int16_t miss = cardAt(0, 1) == partner(first) ? cardAt(0, 2) : cardAt(0, 1);
    enterAt(placeOf(miss).first, placeOf(miss).second);
    ASSERT_TRUE(form().game().pausing());
    const int16_t third = cardAt(3, 4);
    enterAt(3, 4);
    EXPECT_FALSE(face(third)->isVisible());
    EXPECT_EQ(model().seconda, miss);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form().game().pausing() && !face(first)->isVisible(); }));
    EXPECT_FALSE(face(third)->isVisible());

    enterAt(placeOf(first).first, placeOf(first).second);
    enterAt(placeOf(partner(first)).first, placeOf(partner(first)).second);
    EXPECT_EQ(model().trovate, 2);
    enterAt(placeOf(first).first, placeOf(first).second);
    EXPECT_EQ(model().prima, 0);
}

}  // namespace
}  // namespace pairly
