// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_state.h"

#include "table.h"
#include "table_model.h"

namespace pairly {

CardState cardState(const TableModel& model, const Table& table, int16_t c)
{
    if (!table.faceVisible(c))
        return CardState::FaceDown;
    return c == model.prima || c == model.seconda ? CardState::Up : CardState::Found;
}

}  // namespace pairly
