// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "image_control.h"

#include <QObject>

#include <map>

namespace pairly {

// A control array of images addressed by index. Element 0 is the model the
// run-time elements are made from; the design may place other elements too.
// Elements belong to their parent widget and live as long as the window.
class ImageArray : public QObject {
    Q_OBJECT
public:
    // The array takes `first`'s name and index as its first element.
    explicit ImageArray(ImageControl* first, QObject* parent = nullptr);

    // Adds a further element placed from the design; false if its index is taken.
    bool adopt(ImageControl* element);

    // Creates element i as a sibling of element 0 with its place, size,
    // picture and stretching, hidden. False if element i exists already or
    // there is no element 0 to copy.
    bool create(int i);

    // Nullptr when the array has no element i.
    ImageControl* element(int i) const;
    int count() const { return static_cast<int>(elements_.size()); }
    QString name() const { return objectName(); }

    // Run-time elements are stacked right below this widget, so that they
    // stay under the text panels that lie over the table. Without it they
    // go on top of their siblings.
    void setStackCeiling(QWidget* ceiling) { ceiling_ = ceiling; }
    QWidget* stackCeiling() const { return ceiling_; }

signals:
    void clicked(int index);

private:
    void attach(ImageControl* element);

    std::map<int, ImageControl*> elements_;
    QWidget* ceiling_ = nullptr;
};

}  // namespace pairly
