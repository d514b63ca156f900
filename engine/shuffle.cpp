// SPDX-License-Identifier: GPL-3.0-or-later
#include "shuffle.h"

#include "random_source.h"
#include "table_model.h"

#include <cmath>

namespace pairly {

void Mescola(int16_t n, TableModel& m, RandomSource& random)
{
    for (int16_t i = 1; i <= n; ++i)
        m.disponibili[i] = i;
    random.reseedFromTimeOfDay();
    int16_t i = 1;
    while (i <= n) {
        const float r = random.next();
        // Computed in double so that r < 1 keeps j <= n; a source that yields
        // 1.0 or worse is rejected like a used number.
        const auto j = static_cast<int32_t>(std::floor(static_cast<double>(r) * n)) + 1;
        if (j < 1 || j > n || m.disponibili[j] == 0)
            continue;
        m.ordine[i] = m.disponibili[j];
        m.disponibili[j] = 0;
        ++i;
    }
}

}  // namespace pairly
