// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_test.h"
#include "sound/music_strip.h"
#include "ui/common/caption_label.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"

#include <QCryptographicHash>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace pairly {
namespace {

// The real program, one game dealt.
class Guards : public testing::ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        play();
    }
    void leaveTable()
    {
        QTest::mouseClick(form().lblquit(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return startWindowAlone(); }));
    }
    // Backs that a player could see: shown and inside the window's surface.
    int backsInSight(int16_t size)
    {
        int n = 0;
        const ImageArray* backs = form().backs(size);
        for (int16_t c = 0; c <= size; ++c) {
            const ImageControl* back = backs->element(c);
            n += back && !back->isHidden() && form().surface().rect().intersects(back->geometry());
        }
        return n;
    }
};

// After every size command, from every size, with a pair found and the rules
// shown: a fresh game of that size, its own backs only, each card once and
// covered, no model back, the size's item alone checked, the rules hidden.
// Faces are created as games need them (element 0 included).
TEST_F(Guards, SizeCommandsLeaveNoBackOfAnotherSizeOnTheTable)
{
    struct Step {
        const char16_t* item;
        int16_t size, righe;
        const char* caption;
        int faces;
    };
    for (const Step& step : {Step{u"quarantotto", 48, 6, "48 cards", 49}, Step{u"venti", 20, 4, "20 cards", 49},
                             Step{u"ottanta", 80, 8, "80 cards", 81}, Step{u"quarantotto", 48, 6, "48 cards", 81},
                             Step{u"ottanta", 80, 8, "80 cards", 81}, Step{u"venti", 20, 4, "20 cards", 81}}) {
        turn(1);
        turn(partner(1));
        form().Text(2)->show();
        const uint64_t before = games();
        action(QStringView(step.item))->trigger();
        EXPECT_EQ(games(), before + 1);
        EXPECT_EQ(model().righe, step.righe);
        for (int16_t size : {20, 48, 80})
            EXPECT_EQ(backsInSight(size), size == step.size ? size : 0) << size << " after " << step.size;
        EXPECT_TRUE(form().backs(step.size)->element(0)->isHidden());
        EXPECT_EQ(coveredCards(), step.size);
        EXPECT_EQ(checkedItems(u"options"), std::vector<QString>{step.caption});
        EXPECT_FALSE(form().Text(2)->isVisible());
        EXPECT_EQ(form().Img()->count(), step.faces) << step.caption;
    }
}

// The information panel shows whatever the start window's version box holds
// when the game window is activated.
TEST_F(Guards, TheInformationPanelCopiesTheStartWindowsVersionBox)
{
    leaveTable();
    const QString changed = QStringLiteral("version box text\r\n");
    program.startWindow().Text4()->setText(changed);
    QTest::mouseClick(program.startWindow().lblplay(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form().Text(3)->text() == changed; }));
}

TEST_F(Guards, UnloadingClosesTheMusicBeforeTheRustle)
{
    audio->closed.clear();
    form().close();
    EXPECT_EQ(audio->closed, (std::vector<StreamKind>{StreamKind::Music, StreamKind::Effect}));
}

// Alt with a title's access letter opens that title's menu.
TEST_F(Guards, AccessKeysOpenTheirMenus)
{
    for (const auto& [key, title] : {std::pair{Qt::Key_R, u"rules"}, std::pair{Qt::Key_O, u"options"},
                                     std::pair{Qt::Key_S, u"sounds"}, std::pair{Qt::Key_M, u"music"}}) {
        QMenu* menu = form().menu().menu(QStringView(title));
        QTest::keyClick(&form(), key, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); })) << QString::fromUtf16(title).toStdString();
        menu->hide();
    }
}

// The rules and the version text as the panels show them, every letter,
// space and line break (the texts' own typos included), as SHA-1 of their
// Latin-1 bytes.
TEST_F(Guards, ThePanelsShowTheTextsLetterForLetter)
{
    const std::pair<TextPanel*, const char*> panels[] = {
        {form().Text(1), "2085819f950a79dd9fbd8de2c180232bce30461b"},
        {form().Text(2), "c3f6e8815642fdbd42b0fc3ba419c4ae8349dbc6"},
        {form().Text(3), "2b18c8c5341cbc51a55e15540c301f83c6095150"},
        {program.startWindow().Text4(), "2b18c8c5341cbc51a55e15540c301f83c6095150"},
    };
    for (const auto& [panel, digest] : panels) {
        const std::string name = panel->objectName().toStdString();
        EXPECT_EQ(QCryptographicHash::hash(panel->text().toLatin1(), QCryptographicHash::Sha1).toHex().toStdString(),
                  digest) << name;
        // Shown line by line; the version text centred, its padding dropped.
        const bool version = digest == panels[2].second;
        EXPECT_EQ(panel->toPlainText(), version ? QStringLiteral("Pairly ver. 2.2\n")
                                                : QString(panel->text()).replace(QLatin1String("\r\n"), QLatin1String("\n")))
            << name;
        EXPECT_EQ(panel->document()->defaultTextOption().alignment(), version ? Qt::AlignHCenter : Qt::AlignLeft) << name;
        EXPECT_EQ(panel->textInteractionFlags(), Qt::NoTextInteraction) << name;
    }
}

// The design as the player meets it, read from the real widgets: fonts,
// colours, sizes and places given in twips (15 to a pixel).
TEST_F(Guards, TheWidgetsShowTheDesignedFontsColoursAndPlaces)
{
    Form1& f = form();
    frmmain& s = program.startWindow();
    const QColor lightYellow(255, 255, 192);
    for (TextPanel* rules : {f.Text(1), f.Text(2)}) {
        EXPECT_DOUBLE_EQ(rules->font().pointSizeF(), 9.6);
        EXPECT_EQ(rules->palette().color(QPalette::Base), lightYellow);
    }
    EXPECT_EQ(f.Text(3)->palette().color(QPalette::Base), lightYellow);
    // The system's window-text colour.
    EXPECT_EQ(f.Text(3)->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(f.Text(3)->size(), QSize(193, 112));
    EXPECT_DOUBLE_EQ(s.Text4()->font().pointSizeF(), 7.8);
    EXPECT_EQ(s.Text4()->palette().color(QPalette::Base), lightYellow);
    EXPECT_EQ(s.Text4()->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(s.Text4()->size(), QSize(193, 112));
    for (CaptionLabel* label : {s.lblInfo(), s.lblplay(), s.lblquit(), f.lblquit()}) {
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 18);
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->foreground(), QColor(255, 255, 0));
    }
    EXPECT_EQ(s.lblplay()->size(), QSize(153, 33));
    EXPECT_EQ(s.lblquit()->size(), QSize(74, 37));
    EXPECT_EQ(s.lblInfo()->size(), QSize(74, 37));
    EXPECT_EQ(f.lblquit()->size(), QSize(74, 37));
    EXPECT_EQ(f.surface().backgroundColour(), QColor(0, 0, 255));
    EXPECT_EQ(s.surface().backgroundColour(), QColor(0, 64, 0));
    EXPECT_DOUBLE_EQ(s.font().pointSizeF(), 24);
    EXPECT_TRUE(s.font().bold() && s.font().italic());

    const auto* strip = f.surface().findChild<MusicStrip*>();
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->geometry(), QRect(384, 128, 64, 18));  // 5760, 1920, 960, 264 twips
    action(u"all")->trigger();
    EXPECT_TRUE(strip->isVisible());

    // The models: hidden backs of each size, and the visible empty face.
    const std::tuple<int16_t, QRect> models[] = {
        {80, QRect(80, 8, 57, 57)}, {48, QRect(0, 8, 71, 71)}, {20, QRect(0, 88, 116, 116)}};
    for (const auto& [size, rect] : models) {
        EXPECT_EQ(f.backs(size)->element(0)->geometry(), rect) << size;
        EXPECT_TRUE(f.backs(size)->element(0)->isHidden()) << size;
    }
    EXPECT_EQ(f.Img()->element(0)->geometry(), QRect(0, 208, 116, 116));
    EXPECT_EQ(f.Img()->element(0)->picture(), nullptr);
    EXPECT_EQ(f.windowTitle(), s.windowTitle() + QLatin1Char(' '));
    EXPECT_EQ(f.objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(s.objectName(), QStringLiteral("frmmain"));
    EXPECT_FALSE(s.windowIcon().isNull());
}

}  // namespace
}  // namespace pairly
