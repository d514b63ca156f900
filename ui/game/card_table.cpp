// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_table.h"

#include "resources/picture_set.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"

namespace pairly {
namespace {

ImageControl* element(const ImageArray* array, int16_t i)
{
    return array ? array->element(i) : nullptr;
}

void place(ImageControl* control, CellRect r)
{
    if (control)
        control->setGeometry(r.left, r.top, r.width, r.height);
}

void show(ImageControl* control, bool visible)
{
    if (control)
        control->setVisible(visible);
}

}  // namespace

CardTable::CardTable(Arrays arrays, Window window) : a_(arrays), window_(std::move(window)) {}

ImageArray* CardTable::backs(int16_t size) const
{
    switch (size) {
    case 20:
        return a_.dorso20;
    case 48:
        return a_.dorso48;
    case 80:
        return a_.Dorso80;
    default:
        return nullptr;
    }
}

bool CardTable::createFace(int16_t c)
{
    return a_.Img && a_.Img->create(c);
}

void CardTable::setFaceFromPic(int16_t c, int16_t pic)
{
    ImageControl* face = element(a_.Img, c);
    ImageControl* from = element(a_.Pic, pic);
    if (face && from)
        face->setPicture(from->picture());
}

void CardTable::setFaceFromFace(int16_t c, int16_t other)
{
    ImageControl* face = element(a_.Img, c);
    ImageControl* from = element(a_.Img, other);
    if (face && from)
        face->setPicture(from->picture());
}

const void* CardTable::facePicture(int16_t c) const
{
    const ImageControl* face = element(a_.Img, c);
    return face ? face->picture().get() : nullptr;
}

QString CardTable::faceName(int16_t c) const
{
    const ImageControl* face = element(a_.Img, c);
    return face ? PictureSet::embedded().faceName(face->picture().get()) : QString();
}

void CardTable::moveFace(int16_t c, CellRect r)
{
    place(element(a_.Img, c), r);
}

void CardTable::setFaceVisible(int16_t c, bool visible)
{
    show(element(a_.Img, c), visible);
    changed();
}

bool CardTable::faceVisible(int16_t c) const
{
    const ImageControl* face = element(a_.Img, c);
    return face && !face->isHidden();
}

void CardTable::moveBack(int16_t size, int16_t c, CellRect r)
{
    place(element(backs(size), c), r);
}

void CardTable::setBackVisible(int16_t size, int16_t c, bool visible)
{
    show(element(backs(size), c), visible);
    changed();
}

void CardTable::changed()
{
    if (window_.cardsChanged)
        window_.cardsChanged();
}

bool CardTable::backVisible(int16_t size, int16_t c) const
{
    const ImageControl* back = element(backs(size), c);
    return back && !back->isHidden();
}

}  // namespace pairly
