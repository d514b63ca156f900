// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace pairly {

SurfaceWidget::SurfaceWidget(QWidget* parent)
    : QWidget(parent), background_(palette().color(QPalette::Window))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void SurfaceWidget::setBackgroundColour(const QColor& colour)
{
    background_ = colour;
    update();
}

void SurfaceWidget::setBackgroundPicture(PictureRef picture)
{
    picture_ = std::move(picture);
    update();
}

void SurfaceWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), background_);
    if (picture_ && !picture_->image.isNull())
        painter.drawImage(0, 0, picture_->image);
    painter.end();
    emit painted();
}

bool SurfaceWidget::onBareBackground(const QMouseEvent* event) const
{
    // Events a control lets through reach the surface too; they are not
    // the surface's own.
    return childAt(event->position().toPoint()) == nullptr;
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton && onBareBackground(event);
    event->accept();
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint()) && onBareBackground(event);
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (onBareBackground(event))
        emit mouseMoved();
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is one click: its second press does not count again.
    pressed_ = false;
    event->accept();
}

}  // namespace pairly
