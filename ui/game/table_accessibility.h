// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/table_model.h"

#include <QAccessible>
#include <QObject>
#include <QString>

#include <array>

namespace pairly {

class CardCursor;
class CardPlaces;

// The game window's table for assistive technologies. The window's surface
// lists each card of the grid as a button named by its place ("row 2,
// column 3") and described by what it shows, in place of the image controls
// that draw the cards. A card whose description changes says so, which a
// screen reader reads out for the card under the cursor, and the cursor's
// card is the focus. Nothing is done while no assistive technology listens.
class TableAccessibility final : public QObject {
    Q_OBJECT
public:
    // A child of `surface`, where the surface's interface finds it.
    TableAccessibility(QWidget& surface, const CardPlaces& places, const CardCursor& cursor);
    ~TableAccessibility() override;

    // Cards were dealt, turned or covered: they are looked at once the game
    // has finished its step.
    void cardsChanged();

    const CardPlaces& places() const { return places_; }
    const CardCursor& cursor() const { return cursor_; }
    QWidget& surface() const;
    // The interface of the card at `place`, made on first use.
    QAccessibleInterface* card(int place);

private:
    void announce();
    void send(int place, QAccessible::Event type);

    const CardPlaces& places_;
    const CardCursor& cursor_;
    std::array<QAccessible::Id, TableModel::kMaxCards> ids_{};
    std::array<QString, TableModel::kMaxCards> described_;
    int listed_ = 0;  // the cards assistive technologies have been told of
    bool pending_ = false;
};

// Lets the table's surface list its cards; to be installed before the
// surface is made, as Qt keeps the first interface it makes for a widget.
void installTableAccessibility();

}  // namespace pairly
