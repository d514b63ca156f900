// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/card_state.h"

#include <QRect>
#include <QString>

#include <cstdint>

namespace pairly {

class CardTable;
class Game;

// The cards as a player without a mouse meets them: by their place in the
// grid, row by row from the top-left, as the engine dealt them. Place p
// (0-based) holds card ordine[p + 1]; nothing here changes the game but a
// press, which goes through the game's own rules.
class CardPlaces {
public:
    CardPlaces(const Game& game, const CardTable& table);

    // The cards on the table; 0 before the first deal.
    int count() const;
    int rows() const;
    int columns() const;
    int place(int row, int column) const { return row * columns() + column; }
    // Grows by one with every game dealt.
    uint64_t deals() const;

    int16_t card(int place) const;
    // Where the card lies on the window's surface: its back's place.
    QRect rect(int place) const;
    CardState state(int place) const;
    // "row 2, column 3", counted from 1.
    QString name(int place) const;
    // The name of the face the card shows; empty while it is face down.
    QString face(int place) const;
    // "20 cards, 4 rows of 5".
    QString summary() const;
    // A click on the card's back, which the game accepts or refuses by its
    // own rules; whether it was accepted.
    bool turn(int place) const;
    // Why the game refuses to turn the card now.
    QString refusal(int place) const;

private:
    const Game& game_;
    const CardTable& table_;
};

}  // namespace pairly
