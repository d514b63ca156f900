// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard_attention.h"

#include "caption_label.h"

#include <QKeyEvent>

#include <algorithm>

namespace pairly {

AttentionKey attentionKey(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return AttentionKey::None;
    switch (event.key()) {
    case Qt::Key_Left: return AttentionKey::Left;
    case Qt::Key_Right: return AttentionKey::Right;
    case Qt::Key_Up: return AttentionKey::Up;
    case Qt::Key_Down: return AttentionKey::Down;
    case Qt::Key_Tab: return AttentionKey::Next;
    case Qt::Key_Backtab: return AttentionKey::Previous;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: return AttentionKey::Press;
    default: return AttentionKey::None;
    }
}

KeyboardAttention::KeyboardAttention(QWidget& window, std::vector<CaptionLabel*> row, int first,
                                     QColor normal, QColor highlight)
    : QObject(&window), row_(std::move(row)), first_(first), normal_(normal), highlight_(highlight)
{
    window.installEventFilter(this);
}

CaptionLabel* KeyboardAttention::current() const
{
    return current_ < 0 ? nullptr : row_[static_cast<size_t>(current_)];
}

void KeyboardAttention::clear()
{
    if (CaptionLabel* label = current())
        label->setAttention(false);
    current_ = -1;
}

bool KeyboardAttention::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        return keyPressed(attentionKey(*static_cast<QKeyEvent*>(event)));
    return QObject::eventFilter(watched, event);
}

bool KeyboardAttention::keyPressed(AttentionKey key)
{
    const int last = static_cast<int>(row_.size()) - 1;
    if (key == AttentionKey::None)
        return false;
    if (current_ < 0) {
        if (key != AttentionKey::Press)
            give(first_);
        return true;
    }
    switch (key) {
    case AttentionKey::Left: give(std::max(current_ - 1, 0)); break;
    case AttentionKey::Right: give(std::min(current_ + 1, last)); break;
    case AttentionKey::Next: give(current_ == last ? 0 : current_ + 1); break;
    case AttentionKey::Previous: give(current_ == 0 ? last : current_ - 1); break;
    case AttentionKey::Press: current()->click(); break;
    case AttentionKey::Up:
    case AttentionKey::Down:
    case AttentionKey::None: break;
    }
    return true;
}

void KeyboardAttention::give(int i)
{
    clear();
    current_ = i;
    for (CaptionLabel* label : row_)
        label->setForeground(label == current() ? highlight_ : normal_);
    current()->setAttention(true);
    emit attentionGiven(current());
}

}  // namespace pairly
