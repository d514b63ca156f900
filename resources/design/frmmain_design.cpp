// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_designs.h"

#include "design_texts.h"

namespace pairly {

namespace {

ControlDesign yellowLabel(const char* name, TwipsRect rect, int tabIndex, const char* caption)
{
    return ControlDesign{
        .name = QString::fromLatin1(name),
        .kind = ControlKind::Label,
        .rect = rect,
        .visible = true,
        .tabIndex = tabIndex,
        .text = QString::fromLatin1(caption),
        .foreground = kYellow,
        .transparent = true,
        .font = FontDesign{QStringLiteral("MS Sans Serif"), 18, true, false},
        .alignment = TextAlignment::Centre,
    };
}

WindowDesign makeFrmmain()
{
    WindowDesign design{
        .name = QStringLiteral("frmmain"),
        .title = QStringLiteral("Quernavellistro  -  Pairly"),
        .background = kDarkGreen,
        .font = FontDesign{QStringLiteral("MS Sans Serif"), 24, true, true},
        .innerArea = {48, 432, 10140, 7524},
        .opensAtDesignedPosition = true,
    };
    design.controls = {
        ControlDesign{
            .name = QStringLiteral("Text4"),
            .kind = ControlKind::TextBox,
            .rect = TwipsRect{6960, 3600, 2895, 1680},
            .visible = false,
            .tabIndex = 9,
            .tabStop = false,
            .text = fromWindows1252(versionText()),
            .foreground = kBlack,
            .background = kLightYellow,
            .font = FontDesign{QStringLiteral("MS Sans Serif"), 7.8, false, false},
            // The box's further setting 2 is taken as centred text.
            .alignment = TextAlignment::Centre,
            .multiLine = true,
            .arrowPointer = true,
        },
        yellowLabel("lblInfo", {1200, 6840, 1116, 552}, 10, "Info"),
        yellowLabel("lblplay", {4200, 6840, 2292, 492}, 1, "Play"),
        yellowLabel("lblquit", {7920, 6840, 1116, 552}, 0, "Quit"),
    };
    return design;
}

}  // namespace

const WindowDesign& frmmainDesign()
{
    static const WindowDesign design = makeFrmmain();
    return design;
}

}  // namespace pairly
