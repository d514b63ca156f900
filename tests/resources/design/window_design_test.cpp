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

// Every placed control of both windows with its designed twips.
const Placed kPlaced[] = {
    {frmmainDesign, "Text4", kNoIndex, ControlKind::TextBox, {6960, 3600, 2895, 1680}, false, 9},
    {frmmainDesign, "lblInfo", kNoIndex, ControlKind::Label, {1200, 6840, 1116, 552}, true, 10},
    {frmmainDesign, "lblplay", kNoIndex, ControlKind::Label, {4200, 6840, 2292, 492}, true, 1},
    {frmmainDesign, "lblquit", kNoIndex, ControlKind::Label, {7920, 6840, 1116, 552}, true, 0},
    {form1Design, "Text3", kNoIndex, ControlKind::TextBox, {4320, 120, 2892, 1680}, false, 5},
    {form1Design, "Text2", kNoIndex, ControlKind::TextBox, {1920, 1920, 1815, 1935}, false, 4},
    {form1Design, "Text1", kNoIndex, ControlKind::TextBox, {2160, 120, 1815, 1695}, false, 3},
    {form1Design, "MMCw", kNoIndex, ControlKind::MediaControl, {6840, 1920, 336, 264}, false, 1},
    {form1Design, "MMC1", kNoIndex, ControlKind::MediaControl, {5760, 1920, 960, 264}, false, 2},
    {form1Design, "Dorso80", 0, ControlKind::Image, {1200, 120, 852, 852}, false, kNoIndex},
    {form1Design, "dorso48", 0, ControlKind::Image, {0, 120, 1068, 1068}, false, kNoIndex},
    {form1Design, "dorso20", 0, ControlKind::Image, {0, 1320, 1740, 1740}, false, kNoIndex},
    {form1Design, "Pic", 1, ControlKind::Image, {3840, 1920, 1740, 1740}, false, kNoIndex},
    {form1Design, "Pic", 40, ControlKind::Image, {3840, 1920, 1740, 1740}, false, kNoIndex},
    {form1Design, "Img", 0, ControlKind::Image, {0, 3120, 1740, 1740}, true, kNoIndex},
    {form1Design, "lblquit", kNoIndex, ControlKind::Label, {5760, 2280, 1116, 552}, true, 0},
};

TEST(WindowDesign, ControlsSitWhereDesigned)
{
    for (const Placed& expected : kPlaced) {
        SCOPED_TRACE(std::string(expected.name) + "(" + std::to_string(expected.index) + ")");
        const ControlDesign* control = expected.window().find(QString::fromLatin1(expected.name), expected.index);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->kind, expected.kind);
        ASSERT_TRUE(control->rect.has_value());
        EXPECT_EQ(*control->rect, expected.rect);
        EXPECT_EQ(control->visible, expected.visible);
        EXPECT_EQ(control->tabIndex, expected.tabIndex);
    }
}

TEST(WindowDesign, ControlNamesAndIndicesAreUnique)
{
    for (const WindowDesign* window : {&frmmainDesign(), &form1Design()}) {
        std::set<std::pair<QString, int>> seen;
        for (const ControlDesign& control : window->controls)
            EXPECT_TRUE(seen.emplace(control.name, control.index).second) << control.name.toStdString();
    }
    EXPECT_EQ(frmmainDesign().controls.size(), 4u);
    // Timer, three text boxes, two media controls, three backs, 40 faces, Img(0), "Exit".
    EXPECT_EQ(form1Design().controls.size(), 1u + 3 + 2 + 3 + 40 + 1 + 1);
}

TEST(WindowDesign, LookupTellsArrayElementsFromSingleControls)
{
    const WindowDesign& form1 = form1Design();
    EXPECT_EQ(form1.find(u"Pic"), nullptr);
    EXPECT_EQ(form1.find(u"Pic", 0), nullptr);
    EXPECT_EQ(form1.find(u"Pic", 41), nullptr);
    EXPECT_EQ(form1.find(u"dorso80", 0), nullptr) << "names are case-sensitive";
    EXPECT_EQ(form1.find(u"Text1", 0), nullptr);
    EXPECT_EQ(form1.find(u"lblquit")->text, QStringLiteral("Exit"));
    EXPECT_EQ(frmmainDesign().find(u"lblquit")->text, QStringLiteral("Quit"));

    const auto faces = form1.array(u"Pic");
    ASSERT_EQ(faces.size(), 40u);
    for (int k = 1; k <= 40; ++k) {
        EXPECT_EQ(faces[k - 1]->index, k);
        EXPECT_EQ(faces[k - 1]->picture, (PictureDesign{PictureDesign::Source::Face, k}));
        EXPECT_TRUE(faces[k - 1]->stretch);
    }
    EXPECT_TRUE(form1.array(u"Text1").empty());
}

TEST(WindowDesign, WindowsKeepTheirTitlesColoursAndFonts)
{
    const WindowDesign& frmmain = frmmainDesign();
    EXPECT_EQ(frmmain.title.toUtf8(), QByteArray("Quernavellistro  -  Pairly"));
    EXPECT_EQ(frmmain.background, (Rgb{0, 64, 0}));
    EXPECT_EQ(frmmain.font, (FontDesign{QStringLiteral("MS Sans Serif"), 24, true, true}));
    EXPECT_EQ(frmmain.innerArea, (TwipsRect{48, 432, 10140, 7524}));
    EXPECT_TRUE(frmmain.opensAtDesignedPosition);
    EXPECT_TRUE(frmmain.menu.empty());

    const WindowDesign& form1 = form1Design();
    EXPECT_EQ(form1.title.toUtf8(), QByteArray("Quernavellistro  -  Pairly "));
    EXPECT_EQ(form1.background, (Rgb{0, 0, 255}));
    EXPECT_EQ(form1.foreground, (Rgb{255, 255, 192}));
    EXPECT_FALSE(form1.font.has_value());
    EXPECT_EQ(form1.innerArea, (TwipsRect{120, 804, 7860, 4704}));
    EXPECT_FALSE(form1.opensAtDesignedPosition);
    EXPECT_EQ(form1.innerPixelSize(), QSize(524, 314));
}

TEST(WindowDesign, LabelsAreYellowCentredTransparentCaptions)
{
    const FontDesign heading{QStringLiteral("MS Sans Serif"), 18, true, false};
    for (const ControlDesign* label : {frmmainDesign().find(u"lblInfo"), frmmainDesign().find(u"lblplay"),
                                       frmmainDesign().find(u"lblquit"), form1Design().find(u"lblquit")}) {
        SCOPED_TRACE(label->text.toStdString());
        EXPECT_EQ(label->foreground, kYellow);
        EXPECT_TRUE(label->transparent);
        EXPECT_EQ(label->alignment, TextAlignment::Centre);
        EXPECT_EQ(label->font, heading);
    }
}

TEST(WindowDesign, TextBoxesKeepTheirLookAndSettings)
{
    const ControlDesign& text4 = *frmmainDesign().find(u"Text4");
    EXPECT_EQ(text4.foreground, kBlack);
    EXPECT_EQ(text4.background, kLightYellow);
    EXPECT_EQ(text4.font, (FontDesign{QStringLiteral("MS Sans Serif"), 7.8, false, false}));
    EXPECT_TRUE(text4.multiLine);
    EXPECT_FALSE(text4.tabStop);
    EXPECT_TRUE(text4.arrowPointer);
    EXPECT_EQ(text4.alignment, TextAlignment::Centre);

    const WindowDesign& form1 = form1Design();
    const ControlDesign& text3 = *form1.find(u"Text3");
    EXPECT_FALSE(text3.font.has_value());
    EXPECT_FALSE(text3.foreground.has_value());
    EXPECT_EQ(text3.alignment, TextAlignment::Centre);
    EXPECT_EQ(text3.text, text4.text);
    for (const char* rules : {"Text1", "Text2"}) {
        const ControlDesign& box = *form1.find(QString::fromLatin1(rules));
        EXPECT_EQ(box.font, (FontDesign{QStringLiteral("MS Sans Serif"), 9.6, false, false}));
        EXPECT_EQ(box.alignment, TextAlignment::Left) << "only the version boxes carry the further setting";
    }
    for (const char* panel : {"Text1", "Text2", "Text3"}) {
        const ControlDesign& box = *form1.find(QString::fromLatin1(panel));
        EXPECT_EQ(box.background, kLightYellow);
        EXPECT_TRUE(box.multiLine && box.readOnly);
        EXPECT_FALSE(box.tabStop);
    }
}

TEST(WindowDesign, TimerAndMediaControlsAreDescribed)
{
    const WindowDesign& form1 = form1Design();
    const ControlDesign& timer = *form1.find(u"Timer1");
    EXPECT_EQ(timer.kind, ControlKind::Timer);
    EXPECT_EQ(timer.intervalMs, 1000);
    EXPECT_FALSE(timer.enabled);
    EXPECT_FALSE(timer.rect.has_value());
    EXPECT_TRUE(timer.pixelRect().isNull());
    EXPECT_EQ(form1.find(u"MMCw")->deviceType, QStringLiteral("WaveAudio"));
    EXPECT_EQ(form1.find(u"MMC1")->pixelRect(), QRect(384, 128, 64, 18));
}

TEST(Twips, FifteenToAPixelRoundedToNearest)
{
    const std::pair<int, int> cases[] = {{0, 0},     {7, 0},     {8, 1},       {15, 1},     {852, 57},
                                         {1068, 71}, {1740, 116}, {2292, 153}, {-7, 0},    {-8, -1}};
    for (const auto& [twips, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
    EXPECT_EQ((TwipsRect{5760, 2280, 1116, 552}).toPixels(), QRect(384, 152, 74, 37));
}

}  // namespace
}  // namespace pairly
