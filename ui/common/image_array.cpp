// SPDX-License-Identifier: GPL-3.0-or-later
#include "image_array.h"

namespace pairly {

ImageArray::ImageArray(ImageControl* first, QObject* parent)
    : QObject(parent)
{
    setObjectName(first->objectName());
    attach(first);
}

bool ImageArray::adopt(ImageControl* element)
{
    if (elements_.contains(element->index()))
        return false;
    attach(element);
    return true;
}

bool ImageArray::create(int i)
{
    ImageControl* const model = element(0);
    if (model == nullptr || i < 0 || elements_.contains(i))
        return false;
    auto* copy = new ImageControl(i, model->parentWidget());
    copy->setObjectName(model->objectName());
    copy->hide();
    copy->setGeometry(model->geometry());
    copy->setStretch(model->stretch());
    copy->setPicture(model->picture());
    if (ceiling_ != nullptr && ceiling_->parentWidget() == copy->parentWidget())
        copy->stackUnder(ceiling_);
    attach(copy);
    return true;
}

ImageControl* ImageArray::element(int i) const
{
    const auto found = elements_.find(i);
    return found == elements_.end() ? nullptr : found->second;
}

void ImageArray::attach(ImageControl* element)
{
    elements_.emplace(element->index(), element);
    connect(element, &ImageControl::clicked, this, &ImageArray::clicked);
}

}  // namespace pairly
