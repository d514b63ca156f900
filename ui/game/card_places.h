// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>

#include <cstdint>

namespace pairly {

class CardTable;
class Game;

// The cards as a player without a mouse meets them: by their place in the
// grid, row by row from the top-left, as the engine dealt them. Place p
// (0-based) holds card ordine[p + 1]; nothing here changes the game.
class CardPlaces {
public:
    CardPlaces(const Game& game, const CardTable& table);

    // The cards on the table; 0 before the first deal.
    int count() const;
    int rows() const;
    int columns() const;
    int place(int row, int column) const { return row * columns() + column; }

    int16_t card(int place) const;
    // Where the card lies on the window's surface: its back's place.
    QRect rect(int place) const;
    // "row 2, column 3", counted from 1.
    QString name(int place) const;
    // "face down", the name of the face that is up, or "found".
    QString description(int place) const;
    // A click on the card's back, which the game accepts or refuses by its
    // own rules.
    void turn(int place) const;

private:
    const Game& game_;
    const CardTable& table_;
};

}  // namespace pairly
