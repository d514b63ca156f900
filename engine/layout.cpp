// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout.h"

#include "table_model.h"

#include <cmath>

namespace pairly {

int32_t roundHalfEven(double v)
{
    const double r = std::nearbyint(v);  // default rounding mode: to nearest, ties to even
    return static_cast<int32_t>(r);
}

void computeGrid(TableModel& m)
{
    m.lato = roundHalfEven(4.0 / 5.0 * m.altezza / m.righe);
    m.sinistra = roundHalfEven((m.larghezza - static_cast<double>(m.ncarte) / m.righe * m.lato) / 2.0);
    m.sopra = roundHalfEven(0.005 * m.altezza);
}

}  // namespace pairly
