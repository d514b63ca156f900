// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/common/keyboard_attention.h"

#include <QColor>
#include <QObject>
#include <QPoint>

namespace pairly {

class CaptionLabel;
class CardPlaces;

// The keyboard's attention in the game window: on a card, shown by a thin
// frame in the labels' highlight colour, or on "Exit", shown in that colour.
// Nothing shows until a key is used, and a move of the pointer over the
// window takes the attention away again. The first arrow key puts the cursor
// on the top-left card; the arrows move it and stop at the grid's edges; Tab
// and Shift+Tab go from the grid to "Exit" and back; Enter or Space press
// what has the attention. A card is pressed through its back's click, so the
// game's own rules accept or refuse it.
class CardCursor final : public QObject {
    Q_OBJECT
public:
    enum class Attention { None, Card, Exit };

    // The frame lies on `surface`, right under `ceiling` (the lowest panel).
    CardCursor(QWidget& window, QWidget& surface, const CardPlaces& places, CaptionLabel& exit,
               QWidget* ceiling, QColor normal, QColor highlight);

    Attention attention() const { return attention_; }
    // The place under the cursor, shown or not.
    int place() const;
    const QWidget* frame() const { return frame_; }

    // A size command dealt a new table: the cursor stays where it was, or
    // at the nearest place of a smaller table.
    void tableResized();
    // A return to the table: the cursor goes back to the top-left card,
    // hidden until the next arrow key.
    void reset();
    // The pointer moved: nothing has the attention any more. The colour of
    // "Exit" is left to the pointer's own rule.
    void clear();

signals:
    // A key put the attention on a card, moved it to another one, or gave
    // it to "Exit".
    void attentionMoved();
    // Enter or Space on a card the game refused to turn.
    void refused(int place);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(AttentionKey key);
    void move(int rows, int columns);
    void showCard(bool moved = true);
    void showExit();

    QWidget& window_;
    const CardPlaces& places_;
    CaptionLabel& exit_;
    QWidget* ceiling_;
    QWidget* frame_;
    QColor normal_;
    QColor highlight_;
    Attention attention_ = Attention::None;
    int row_ = 0;
    int column_ = 0;
    // Where the pointer was when a key took the attention: a move event that
    // goes nowhere is not a movement.
    QPoint pointer_;
};

}  // namespace pairly
