// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace pairly {

class Table;
struct TableModel;

// What a card of the table shows a player who cannot see it.
enum class CardState {
    FaceDown,  // its back, as dealt
    Up,        // its face, as a card of the move in progress
    Found,     // its face, as half of a pair found
};

// Card c's state: a face that is up and belongs to no move in progress is
// half of a found pair (a miss is covered again before its move ends).
CardState cardState(const TableModel& model, const Table& table, int16_t c);

}  // namespace pairly
