// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace pairly {

struct TableModel;

// Rounds to the nearest integer, an exact half to the even neighbour.
int32_t roundHalfEven(double v);

// Sets lato, sinistra and sopra for the current size and window: the grid
// takes four fifths of the height, is centred across, and starts half a
// percent below the top.
void computeGrid(TableModel& model);

}  // namespace pairly
