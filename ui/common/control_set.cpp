// SPDX-License-Identifier: GPL-3.0-or-later
#include "control_set.h"

#include "caption_label.h"
#include "image_array.h"
#include "image_control.h"
#include "resources/design/qt_design.h"
#include "surface_widget.h"
#include "text_panel.h"

namespace pairly {

namespace {

template <typename Map>
auto lookup(const Map& map, const typename Map::key_type& key) -> typename Map::mapped_type
{
    const auto found = map.find(key);
    return found == map.end() ? nullptr : found->second;
}

void place(QWidget& widget, const ControlDesign& design)
{
    widget.setObjectName(design.name);
    widget.setGeometry(design.pixelRect());
    widget.setFocusPolicy(Qt::NoFocus);
    widget.setVisible(design.visible);
}

TextPanel* buildTextBox(SurfaceWidget& surface, const ControlDesign& control)
{
    auto* box = new TextPanel(&surface);
    if (control.font)
        box->setFont(toQFont(*control.font));
    const QPalette defaults = box->palette();
    box->setColours(control.foreground ? toQColor(*control.foreground) : defaults.color(QPalette::Text),
                    control.background ? toQColor(*control.background) : defaults.color(QPalette::Base));
    box->setCentred(control.alignment == TextAlignment::Centre);
    if (!control.multiLine)
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setText(control.text);
    box->viewport()->setCursor(control.arrowPointer ? Qt::ArrowCursor : Qt::IBeamCursor);
    place(*box, control);
    return box;
}

}  // namespace

ControlSet::ControlSet(SurfaceWidget& surface, const WindowDesign& design,
                       const PictureProvider& pictures, QStringList later)
    : design_(&design), surface_(&surface), later_(std::move(later))
{
    build(surface, pictures);
}

void ControlSet::build(SurfaceWidget& surface, const PictureProvider& pictures)
{
    const WindowDesign& window = *design_;
    surface.setBackgroundColour(toQColor(window.background));
    if (window.foreground) {
        QPalette colours = surface.palette();
        colours.setColor(QPalette::WindowText, toQColor(*window.foreground));
        surface.setPalette(colours);
    }
    if (window.font)
        surface.setFont(toQFont(*window.font));
    surface.resize(window.innerPixelSize());

    // Images and labels lie in the window's lower layer and text boxes
    // above them, whatever their order in the design, so that the panels
    // cover the table.
    for (const ControlDesign& control : window.controls) {
        if (control.kind == ControlKind::Image) {
            auto* image = new ImageControl(control.index, &surface);
            image->setStretch(control.stretch);
            if (pictures)
                image->setPicture(pictures(control));
            place(*image, control);
            if (!control.isArrayElement()) {
                images_.emplace(Key{control.name, kNoIndex}, image);
            } else if (ImageArray* array = lookup(arrays_, control.name)) {
                array->adopt(image);
            } else {
                arrays_.emplace(control.name, new ImageArray(image, &surface));
            }
        } else if (control.kind == ControlKind::Label) {
            auto* label = new CaptionLabel(control.text, &surface);
            label->setAlignment((control.alignment == TextAlignment::Centre ? Qt::AlignHCenter
                                                                             : Qt::AlignLeft)
                                | Qt::AlignTop);
            if (control.font)
                label->setFont(toQFont(*control.font));
            label->setForeground(control.foreground ? toQColor(*control.foreground)
                                                    : surface.palette().color(QPalette::WindowText));
            if (!control.transparent && control.background) {
                QPalette colours = label->palette();
                colours.setColor(QPalette::Window, toQColor(*control.background));
                label->setPalette(colours);
                label->setAttribute(Qt::WA_NoSystemBackground, false);
                label->setAutoFillBackground(true);
            }
            place(*label, control);
            labels_.emplace(Key{control.name, control.index}, label);
        }
    }

    QWidget* lowestTextBox = nullptr;
    for (const ControlDesign& control : window.controls) {
        if (control.kind != ControlKind::TextBox || later_.contains(control.name))
            continue;
        TextPanel* box = buildTextBox(surface, control);
        textBoxes_.emplace(Key{control.name, control.index}, box);
        if (lowestTextBox == nullptr)
            lowestTextBox = box;
    }

    for (const auto& [name, array] : arrays_)
        array->setStackCeiling(lowestTextBox);
}

ImageControl* ControlSet::image(QStringView name, int index) const
{
    if (index == kNoIndex)
        return lookup(images_, Key{name.toString(), kNoIndex});
    const ImageArray* array = imageArray(name);
    return array == nullptr ? nullptr : array->element(index);
}

ImageArray* ControlSet::imageArray(QStringView name) const
{
    return lookup(arrays_, name.toString());
}

TextPanel* ControlSet::textBox(QStringView name, int index)
{
    const Key key{name.toString(), index};
    if (TextPanel* box = lookup(textBoxes_, key))
        return box;
    // Not built yet: one of those left for later.
    const ControlDesign* control = design_->find(name, index);
    if (!control || control->kind != ControlKind::TextBox)
        return nullptr;
    return textBoxes_.emplace(key, buildTextBox(*surface_, *control)).first->second;
}

CaptionLabel* ControlSet::label(QStringView name, int index) const
{
    return lookup(labels_, Key{name.toString(), index});
}

}  // namespace pairly
