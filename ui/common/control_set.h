// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/design/window_design.h"
#include "resources/picture.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <map>
#include <utility>

namespace pairly {

class CaptionLabel;
class ImageArray;
class ImageControl;
class SurfaceWidget;
class TextPanel;

// Gives an image control of the design its picture; an empty result leaves
// it without one.
using PictureProvider = std::function<PictureRef(const ControlDesign&)>;

// The controls of a window design, created on the window's surface as the
// design places them: images, labels and text boxes with their place, size,
// font, colours, visibility and texts. None of them takes the keyboard
// focus. The timer and the media controls are not created here: their
// designs (with their places) are looked up in design().
//
// The widgets belong to the surface; a ControlSet only finds them.
class ControlSet {
public:
    // Also gives the surface the window's background colour, text colour,
    // font and designed inner size. The text boxes named in `later` are
    // built when textBox() first asks for them, above every other control:
    // a text box lays out its text and loads its font as it is built.
    ControlSet(SurfaceWidget& surface, const WindowDesign& design,
               const PictureProvider& pictures = {}, QStringList later = {});

    const WindowDesign& design() const { return *design_; }

    // A single image, or an element of an image array. Nullptr if absent.
    ImageControl* image(QStringView name, int index = kNoIndex) const;
    ImageArray* imageArray(QStringView name) const;
    TextPanel* textBox(QStringView name, int index = kNoIndex);
    CaptionLabel* label(QStringView name, int index = kNoIndex) const;

private:
    using Key = std::pair<QString, int>;

    void build(SurfaceWidget& surface, const PictureProvider& pictures);

    const WindowDesign* design_;
    SurfaceWidget* surface_;
    QStringList later_;
    std::map<Key, ImageControl*> images_;
    std::map<QString, ImageArray*> arrays_;
    std::map<Key, TextPanel*> textBoxes_;
    std::map<Key, CaptionLabel*> labels_;
};

}  // namespace pairly
