// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "card_accessible.h"

#include "engine/card_state.h"
#include "engine/table_model.h"

#include <QAccessible>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace pairly {

class CaptionLabel;
class CardCursor;
class CardPlaces;
class ScreenReaderFocus;

// The game window's table for assistive technologies, and what a screen
// reader says of it. The window's surface lists each card of the grid as its
// back and its face (CardAccessible), and the table as a whole, in place of
// the image controls that draw the cards. After each step of the game the
// focus goes where the player's attention is:
// - a new deal: to the table, which says its size and "all face down";
// - a card turned, by a key, a click or an assistive technology: to its face;
// - the card under the cursor covered again: to its back;
// - the cursor moved: to the card under it, or to "Exit".
// A miss covered away from the focus, and a press the game refuses, are
// said as notifications.
class TableAccessibility final : public QObject {
    Q_OBJECT
public:
    // A child of `surface`, where the surface's interface finds it.
    TableAccessibility(QWidget& surface, const CardPlaces& places, const CardCursor& cursor, CaptionLabel& exit,
                       ScreenReaderFocus& focus);
    ~TableAccessibility() override;

    // Cards were dealt, turned or covered: they are looked at once the game
    // has finished its step.
    void cardsChanged();
    // The game refused to turn the card at `place` for a key or an
    // assistive technology.
    void refused(int place);

    const CardPlaces& places() const { return places_; }
    ScreenReaderFocus& focus() const { return focus_; }
    // The card cursor's frame: drawn on the surface, not a control of it.
    const QWidget* frame() const;
    QWidget& surface() const;

    // The surface's children for assistive technologies: the back and the
    // face of each card, then the table.
    int childCount() const;
    QAccessibleInterface* child(int index);
    int indexOfChild(const QAccessibleInterface* child) const;
    // The card layer that shows at `at`, in the surface's coordinates.
    QAccessibleInterface* childAt(QPoint at);

private:
    struct Told {
        CardState state = CardState::FaceDown;
        QString name;
        QString face;
    };

    // Where the focus goes among the table's objects.
    enum class Aim { None, Table, Card, Exit };

    void update();
    QAccessibleInterface* layer(int place, CardLayer layer);
    QAccessibleInterface* shown(int place);
    QAccessibleInterface* table();

    const CardPlaces& places_;
    const CardCursor& cursor_;
    CaptionLabel& exit_;
    ScreenReaderFocus& focus_;
    std::array<std::array<QAccessible::Id, 2>, TableModel::kMaxCards> ids_{};
    QAccessible::Id table_ = 0;
    std::array<Told, TableModel::kMaxCards> told_;
    int listed_ = 0;  // the cards assistive technologies have been told of
    uint64_t dealt_ = 0;
    bool tableDown_ = true;  // what the table's description last said
    bool attentionMoved_ = false;
    Aim aim_ = Aim::None;
    int focusPlace_ = 0;  // the card, when the aim is one
};

// Lets the table's surface list its cards; to be installed before the
// surface is made, as Qt keeps the first interface it makes for a widget.
void installTableAccessibility();

}  // namespace pairly
