// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_design.h"

namespace pairly {

int twipsToPixels(int twips)
{
    const int whole = twips / kTwipsPerPixel;
    const int rest = twips % kTwipsPerPixel;
    if (2 * rest >= kTwipsPerPixel)
        return whole + 1;
    if (2 * rest <= -kTwipsPerPixel)
        return whole - 1;
    return whole;
}

QRect TwipsRect::toPixels() const
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

QRect ControlDesign::pixelRect() const
{
    return rect ? rect->toPixels() : QRect();
}

const ControlDesign* WindowDesign::find(QStringView controlName, int index) const
{
    for (const ControlDesign& control : controls) {
        if (control.index == index && control.name == controlName)
            return &control;
    }
    return nullptr;
}

std::vector<const ControlDesign*> WindowDesign::array(QStringView controlName) const
{
    std::vector<const ControlDesign*> elements;
    for (const ControlDesign& control : controls) {
        if (control.isArrayElement() && control.name == controlName)
            elements.push_back(&control);
    }
    return elements;
}

QSize WindowDesign::innerPixelSize() const
{
    return QSize(twipsToPixels(innerArea.width), twipsToPixels(innerArea.height));
}

}  // namespace pairly
