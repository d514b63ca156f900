// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace pairly {

// The game window's variables that the game loop, the shuffle, the card
// handlers and the window's commands share. Card numbers run 1..ncarte; 0 is
// "no card". Widths follow the original 16/32-bit types so that the ranges the
// rules rely on are the ones the code has.
struct TableModel {
    static constexpr int16_t kMaxCards = 80;

    int16_t ncarte = 20;  // 20, 48 or 80
    int16_t righe = 4;    // 4, 6 or 8; columns are ncarte / righe

    int32_t larghezza = 0;  // inner size of the game window, pixels, taken at load
    int32_t altezza = 0;

    int32_t lato = 0;      // side of one square cell
    int32_t sinistra = 0;  // left edge of the grid
    int32_t sopra = 0;     // top edge of the grid

    std::array<int16_t, kMaxCards + 1> disponibili{};  // shuffle pool, index 0 unused
    std::array<int16_t, kMaxCards + 1> ordine{};       // last shuffle; card at grid position j

    int16_t prima = 0;     // first card of the move
    int16_t seconda = 0;   // second card of the move
    int16_t cliccata = 0;  // accepted click not yet uncovered by the loop
    bool coppia = false;   // result of the last pair check
    int16_t trovate = 0;   // matched cards, +2 per pair
    int16_t stato = 0;     // kLeaveTable asks the loop to leave the table
    bool scaduto = false;  // set by the tick that ends a pause

    static constexpr int16_t kLeaveTable = 4;

    int16_t colonne() const { return static_cast<int16_t>(ncarte / righe); }
};

}  // namespace pairly
