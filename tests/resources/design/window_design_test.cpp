#include "resources/design/window_designs.h"

#include <gtest/gtest.h>

#include <set>

namespace pairly {
namespace {

struct Placed {
    const WindowDesign& (*window)();
    const char* name;
    int index;
    ControlKind kind;
    TwipsRect rect;
    bool visible;
    int tabIndex;
};

// Spot checks of both windows' controls: kind, designed twips, visibility
// and tab order.
TEST(WindowDesign, ControlsSitWhereDesigned)
{
    const Placed placed[] = {
        {frmmainDesign, "Text4", kNoIndex, ControlKind::TextBox, {6960, 3600, 2895, 1680}, false, 9},
        {frmmainDesign, "lblplay", kNoIndex, ControlKind::Label, {4200, 6840, 2292, 492}, true, 1},
        {frmmainDesign, "lblquit", kNoIndex, ControlKind::Label, {7920, 6840, 1116, 552}, true, 0},
        {form1Design, "Text2", kNoIndex, ControlKind::TextBox, {1920, 1920, 1815, 1935}, false, 4},
        {form1Design, "MMC1", kNoIndex, ControlKind::MediaControl, {5760, 1920, 960, 264}, false, 2},
        {form1Design, "Dorso80", 0, ControlKind::Image, {1200, 120, 852, 852}, false, kNoIndex},
        {form1Design, "Pic", 40, ControlKind::Image, {3840, 1920, 1740, 1740}, false, kNoIndex},
        {form1Design, "Img", 0, ControlKind::Image, {0, 3120, 1740, 1740}, true, kNoIndex},
        {form1Design, "lblquit", kNoIndex, ControlKind::Label, {5760, 2280, 1116, 552}, true, 0},
    };
    for (const Placed& p : placed) {
        const ControlDesign* c = p.window().find(QString::fromLatin1(p.name), p.index);
        ASSERT_NE(c, nullptr) << p.name;
        EXPECT_EQ(c->kind, p.kind) << p.name;
        EXPECT_EQ(c->rect, p.rect) << p.name;
        EXPECT_EQ(std::pair(c->visible, c->tabIndex), std::pair(p.visible, p.tabIndex)) << p.name;
    }
}

// Names with indices are unique; every control is there: the timer, three
// text boxes, two media controls, three backs, 40 faces, Img(0) and "Exit".
TEST(WindowDesign, ControlsAreUniqueAndArraysComplete)
{
    for (const WindowDesign* window : {&frmmainDesign(), &form1Design()}) {
        std::set<std::pair<QString, int>> seen;
        for (const ControlDesign& control : window->controls)
            EXPECT_TRUE(seen.emplace(control.name, control.index).second) << control.name.toStdString();
    }
    EXPECT_EQ(frmmainDesign().controls.size(), 4u);
    EXPECT_EQ(form1Design().controls.size(), 1u + 3 + 2 + 3 + 40 + 1 + 1);
    const auto faces = form1Design().array(u"Pic");
    ASSERT_EQ(faces.size(), 40u);
    for (int k = 1; k <= 40; ++k)
        EXPECT_EQ(faces[k - 1]->picture, (PictureDesign{PictureDesign::Source::Face, k}));
    EXPECT_EQ(form1Design().find(u"Pic"), nullptr) << "an array element needs its index";
    EXPECT_EQ(form1Design().find(u"dorso80", 0), nullptr) << "names are case-sensitive";
}

// The windows' titles byte for byte (two spaces around the dash, a trailing
// one on the game window), colours and inner sizes.
TEST(WindowDesign, WindowsKeepTheirTitlesAndColours)
{
    EXPECT_EQ(frmmainDesign().title.toUtf8(), QByteArray("Quernavellistro  -  Pairly"));
    EXPECT_EQ(form1Design().title.toUtf8(), QByteArray("Quernavellistro  -  Pairly "));
    EXPECT_EQ(frmmainDesign().background, kDarkGreen);
    EXPECT_EQ(frmmainDesign().font, (FontDesign{QStringLiteral("MS Sans Serif"), 24, true, true}));
    EXPECT_EQ(form1Design().background, kBlue);
    EXPECT_EQ(form1Design().innerPixelSize(), QSize(524, 314));
    EXPECT_EQ(frmmainDesign().find(u"lblquit")->text, QStringLiteral("Quit"));
    EXPECT_EQ(form1Design().find(u"lblquit")->text, QStringLiteral("Exit"));
    EXPECT_EQ(frmmainDesign().find(u"lblplay")->foreground, kYellow);
    EXPECT_EQ(form1Design().find(u"Timer1")->intervalMs, 1000);
    EXPECT_FALSE(form1Design().find(u"Timer1")->enabled);
}

TEST(Twips, FifteenToAPixelRoundedToNearest)
{
    const std::pair<int, int> cases[] = {{0, 0},     {7, 0},      {8, 1},      {15, 1}, {852, 57},
                                         {1068, 71}, {1740, 116}, {2292, 153}, {-7, 0}, {-8, -1}};
    for (const auto& [twips, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
    EXPECT_EQ((TwipsRect{5760, 2280, 1116, 552}).toPixels(), QRect(384, 152, 74, 37));
}

}  // namespace
}  // namespace pairly
