// SPDX-License-Identifier: GPL-3.0-or-later
#include "caption_label.h"

#include "caption_label_accessible.h"

#include <QMouseEvent>

namespace pairly {

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent)
    : QLabel(parent)
{
    // Before the caption is set: Qt keeps the first interface it makes for
    // a widget, and setting a text makes one.
    installCaptionLabelAccessibility();
    setText(caption);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    // A move over the label is not a move over the window's background.
    setAttribute(Qt::WA_NoMousePropagation);
    setForeground(palette().color(QPalette::WindowText));
}

void CaptionLabel::setForeground(const QColor& colour)
{
    foreground_ = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
}

void CaptionLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && isVisible()
                       && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

void CaptionLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseMoved();
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is one click: its second press does not count again.
    pressed_ = false;
    event->accept();
}

}  // namespace pairly
