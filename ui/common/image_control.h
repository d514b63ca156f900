// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/design/window_design.h"
#include "resources/picture.h"

#include <QPixmap>
#include <QWidget>

namespace pairly {

// An image control: shows its picture stretched smoothly to its own size, or
// at its natural size from the top-left corner when stretching is off.
// Takes no keyboard focus.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(int index = kNoIndex, QWidget* parent = nullptr);

    int index() const { return index_; }

    // The same object is handed back, so pictures can be compared by identity.
    void setPicture(PictureRef picture);
    PictureRef picture() const { return picture_; }

    void setStretch(bool stretch);
    bool stretch() const { return stretch_; }

    // A press from the keyboard or an assistive technology: the same signal
    // as a click of the mouse.
    void click() { emit clicked(index_); }

signals:
    // A left button pressed and released inside the visible control.
    void clicked(int index);
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const QPixmap& scaledPixmap();

    int index_;
    PictureRef picture_;
    bool stretch_ = true;
    bool pressed_ = false;
    QPixmap scaled_;
    QSize scaledFor_;
    qreal scaledRatio_ = 0;
};

}  // namespace pairly
