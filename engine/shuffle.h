// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace pairly {

struct TableModel;
class RandomSource;

// Puts 1..n into a random order in ordine(1..n), drawing by rejection from the
// pool disponibili(1..n). Reseeds the source on every call. 0 <= n <= 80.
void Mescola(int16_t n, TableModel& model, RandomSource& random);

}  // namespace pairly
