// SPDX-License-Identifier: GPL-3.0-or-later
#include "image_control.h"

#include "scaled_pixmap.h"

#include <QMouseEvent>
#include <QPainter>

namespace pairly {

ImageControl::ImageControl(int index, QWidget* parent)
    : QWidget(parent), index_(index)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    // The window's surface reacts to moves over its bare background only.
    setAttribute(Qt::WA_NoMousePropagation);
}

void ImageControl::setPicture(PictureRef picture)
{
    if (picture == picture_)
        return;
    picture_ = std::move(picture);
    scaled_ = QPixmap();
    update();
}

void ImageControl::setStretch(bool stretch)
{
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    scaled_ = QPixmap();
    update();
}

const QPixmap& ImageControl::scaledPixmap()
{
    const qreal ratio = devicePixelRatioF();
    if (scaled_.isNull() || scaledFor_ != size() || scaledRatio_ != ratio) {
        scaled_ = pairly::scaledPixmap(picture_->image, size(), ratio);
        scaledFor_ = size();
        scaledRatio_ = ratio;
    }
    return scaled_;
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (!picture_ || picture_->image.isNull())
        return;
    QPainter painter(this);
    if (stretch_)
        painter.drawPixmap(0, 0, scaledPixmap());
    else
        painter.drawImage(0, 0, picture_->image);
}

void ImageControl::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && isVisible()
                       && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked(index_);
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is one click: its second press does not count again.
    pressed_ = false;
    event->accept();
}

void ImageControl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseMoved();
}

}  // namespace pairly
