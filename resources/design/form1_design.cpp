// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_designs.h"

#include "design_texts.h"

namespace pairly {

namespace {

const FontDesign kRulesFont{QStringLiteral("MS Sans Serif"), 9.6, false, false};

ControlDesign textPanel(const char* name, TwipsRect rect, int tabIndex, QString text)
{
    return ControlDesign{
        .name = QString::fromLatin1(name),
        .kind = ControlKind::TextBox,
        .rect = rect,
        .visible = false,
        .tabIndex = tabIndex,
        .tabStop = false,
        .text = std::move(text),
        .background = kLightYellow,
        .multiLine = true,
        .readOnly = true,
    };
}

ControlDesign image(const char* name, int index, TwipsRect rect, bool visible, PictureDesign picture)
{
    return ControlDesign{
        .name = QString::fromLatin1(name),
        .index = index,
        .kind = ControlKind::Image,
        .rect = rect,
        .visible = visible,
        .stretch = true,
        .picture = picture,
    };
}

ControlDesign mediaControl(const char* name, TwipsRect rect, int tabIndex, QString deviceType)
{
    return ControlDesign{
        .name = QString::fromLatin1(name),
        .kind = ControlKind::MediaControl,
        .rect = rect,
        .visible = false,
        .tabIndex = tabIndex,
        .deviceType = std::move(deviceType),
    };
}

std::vector<ControlDesign> form1Controls()
{
    using Source = PictureDesign::Source;
    std::vector<ControlDesign> controls;
    controls.push_back(ControlDesign{
        .name = QStringLiteral("Timer1"),
        .kind = ControlKind::Timer,
        .visible = false,
        .intervalMs = 1000,
        .enabled = false,
    });

    ControlDesign text3 = textPanel("Text3", {4320, 120, 2892, 1680}, 5, fromWindows1252(versionText()));
    // The box's further setting 2 is taken as centred text.
    text3.alignment = TextAlignment::Centre;
    controls.push_back(std::move(text3));

    ControlDesign text2 = textPanel("Text2", {1920, 1920, 1815, 1935}, 4, fromWindows1252(englishRulesText()));
    text2.font = kRulesFont;
    controls.push_back(std::move(text2));

    ControlDesign text1 = textPanel("Text1", {2160, 120, 1815, 1695}, 3, fromWindows1252(italianRulesText()));
    text1.font = kRulesFont;
    controls.push_back(std::move(text1));

    controls.push_back(mediaControl("MMCw", {6840, 1920, 336, 264}, 1, QStringLiteral("WaveAudio")));
    controls.push_back(mediaControl("MMC1", {5760, 1920, 960, 264}, 2, QString()));

    controls.push_back(image("Dorso80", 0, {1200, 120, 852, 852}, false, {Source::CardBack, 80}));
    controls.push_back(image("dorso48", 0, {0, 120, 1068, 1068}, false, {Source::CardBack, 48}));
    controls.push_back(image("dorso20", 0, {0, 1320, 1740, 1740}, false, {Source::CardBack, 20}));
    for (int k = 1; k <= 40; ++k)
        controls.push_back(image("Pic", k, {3840, 1920, 1740, 1740}, false, {Source::Face, k}));
    controls.push_back(image("Img", 0, {0, 3120, 1740, 1740}, true, {}));

    controls.push_back(ControlDesign{
        .name = QStringLiteral("lblquit"),
        .kind = ControlKind::Label,
        .rect = TwipsRect{5760, 2280, 1116, 552},
        .visible = true,
        .tabIndex = 0,
        .text = QStringLiteral("Exit"),
        .foreground = kYellow,
        .transparent = true,
        .font = FontDesign{QStringLiteral("MS Sans Serif"), 18, true, false},
        .alignment = TextAlignment::Centre,
    });
    return controls;
}

MenuItemDesign item(const char* name, int index, const char* caption, bool checked = false)
{
    return MenuItemDesign{QString::fromLatin1(name), index, QString::fromLatin1(caption), checked};
}

std::vector<MenuTitleDesign> form1Menu()
{
    std::vector<MenuTitleDesign> menu;
    menu.push_back({QStringLiteral("rules"), QStringLiteral("&Rules"), false,
                    {item("italiano", 1, "Italiano"), item("inglese", 2, "English")}});
    menu.push_back({QStringLiteral("options"), QStringLiteral("&Options"), true,
                    {item("venti", kNoIndex, "20 cards"), item("quarantotto", kNoIndex, "48 cards"),
                     item("ottanta", kNoIndex, "80 cards")}});
    menu.push_back({QStringLiteral("sounds"), QStringLiteral("&Sounds"), true,
                    {item("cards", kNoIndex, "card rustle")}});
    menu.push_back({QStringLiteral("music"), QStringLiteral("&Music"), true,
                    {item("nomusic", kNoIndex, "no music"), item("all", kNoIndex, "sequential mode"),
                     item("canzoni", 1, "Chill1"), item("canzoni", 2, "Champion"),
                     item("canzoni", 3, "Champs"), item("canzoni", 4, "Easycity"),
                     item("canzoni", 5, "inds_01"), item("canzoni", 6, "Humanoid"),
                     item("canzoni", 7, "Impact"), item("canzoni", 8, "Lastday"),
                     item("canzoni", 9, "Scopa", true), item("canzoni", 10, "Sevilana")}});
    menu.push_back({QStringLiteral("menu_about"), QStringLiteral("&Info"), false, {}});
    return menu;
}

WindowDesign makeForm1()
{
    return WindowDesign{
        .name = QStringLiteral("Form1"),
        .title = QStringLiteral("Quernavellistro  -  Pairly "),
        .background = kBlue,
        .foreground = kLightYellow,
        .innerArea = {120, 804, 7860, 4704},
        .opensAtDesignedPosition = false,
        .controls = form1Controls(),
        .menu = form1Menu(),
    };
}

}  // namespace

const WindowDesign& form1Design()
{
    static const WindowDesign design = makeForm1();
    return design;
}

}  // namespace pairly
