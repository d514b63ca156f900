// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/picture.h"

#include <QColor>
#include <QWidget>

namespace pairly {

// A window's inner area: its background colour, an optional background
// picture drawn at its natural size from the top-left corner, and the
// window's own click and mouse-move events, which come only from the bare
// background and never from a control lying on it.
class SurfaceWidget : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceWidget(QWidget* parent = nullptr);

    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return background_; }

    void setBackgroundPicture(PictureRef picture);
    PictureRef backgroundPicture() const { return picture_; }

signals:
    void clicked();
    void mouseMoved();
    // After each paint of the surface.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool onBareBackground(const QMouseEvent* event) const;

    QColor background_;
    PictureRef picture_;
    bool pressed_ = false;
};

}  // namespace pairly
