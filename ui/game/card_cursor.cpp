// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_cursor.h"

#include "card_places.h"

#include "ui/common/caption_label.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace pairly {
namespace {

constexpr int kFrameWidth = 4;

// The cursor drawn over a card: a frame, never in the pointer's way.
class CursorFrame final : public QWidget {
public:
    CursorFrame(QColor colour, QWidget* parent) : QWidget(parent), colour_(colour)
    {
        setObjectName(QStringLiteral("cardCursor"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const int w = width();
        const int h = height();
        const int t = kFrameWidth;
        p.fillRect(0, 0, w, t, colour_);
        p.fillRect(0, h - t, w, t, colour_);
        p.fillRect(0, t, t, h - 2 * t, colour_);
        p.fillRect(w - t, t, t, h - 2 * t, colour_);
    }

private:
    QColor colour_;
};

}  // namespace

CardCursor::CardCursor(QWidget& window, QWidget& surface, const CardPlaces& places, CaptionLabel& exit,
                       QWidget* ceiling, QColor normal, QColor highlight)
    : QObject(&window),
      window_(window),
      places_(places),
      exit_(exit),
      ceiling_(ceiling),
      frame_(new CursorFrame(highlight, &surface)),
      normal_(normal),
      highlight_(highlight)
{
    // Pointer moves over any control of the window end the attention, so
    // they are watched where they all pass.
    qApp->installEventFilter(this);
}

int CardCursor::place() const
{
    return places_.place(row_, column_);
}

void CardCursor::tableResized()
{
    row_ = std::min(row_, std::max(places_.rows() - 1, 0));
    column_ = std::min(column_, std::max(places_.columns() - 1, 0));
    // The frame follows the new grid; the screen reader hears of the deal.
    if (attention_ == Attention::Card)
        showCard(false);
}

void CardCursor::reset()
{
    clear();
    row_ = 0;
    column_ = 0;
}

void CardCursor::clear()
{
    frame_->hide();
    exit_.setAttention(false);
    attention_ = Attention::None;
}

bool CardCursor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == &window_)
        return keyPressed(attentionKey(*static_cast<QKeyEvent*>(event)));
    if (event->type() == QEvent::MouseMove && attention_ != Attention::None && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == &window_
        && static_cast<QMouseEvent*>(event)->globalPosition().toPoint() != pointer_)
        clear();
    return QObject::eventFilter(watched, event);
}

bool CardCursor::keyPressed(AttentionKey key)
{
    if (key == AttentionKey::None || places_.count() == 0)
        return false;
    pointer_ = QCursor::pos();
    const bool onCard = attention_ == Attention::Card;
    switch (key) {
    case AttentionKey::Left: onCard ? move(0, -1) : showCard(); break;
    case AttentionKey::Right: onCard ? move(0, 1) : showCard(); break;
    case AttentionKey::Up: onCard ? move(-1, 0) : showCard(); break;
    case AttentionKey::Down: onCard ? move(1, 0) : showCard(); break;
    case AttentionKey::Next:
    case AttentionKey::Previous: onCard ? showExit() : showCard(); break;
    case AttentionKey::Press:
        if (onCard) {
            if (!places_.turn(place()))
                emit refused(place());
        } else if (attention_ == Attention::Exit) {
            clear();
            exit_.click();
        }
        break;
    case AttentionKey::None: break;
    }
    return true;
}

void CardCursor::move(int rows, int columns)
{
    row_ = std::clamp(row_ + rows, 0, places_.rows() - 1);
    column_ = std::clamp(column_ + columns, 0, places_.columns() - 1);
    showCard();
}

void CardCursor::showCard(bool moved)
{
    if (attention_ == Attention::Exit) {
        exit_.setAttention(false);
        exit_.setForeground(normal_);
    }
    attention_ = Attention::Card;
    frame_->setGeometry(places_.rect(place()));
    // Faces dealt since the last showing lie above the frame: it goes back
    // on top of the cards, under the panels.
    if (ceiling_ != nullptr)
        frame_->stackUnder(ceiling_);
    else
        frame_->raise();
    frame_->show();
    if (moved)
        emit attentionMoved();
}

void CardCursor::showExit()
{
    frame_->hide();
    attention_ = Attention::Exit;
    exit_.setForeground(highlight_);
    exit_.setAttention(true);
    emit attentionMoved();
}

}  // namespace pairly
