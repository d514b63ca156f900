// SPDX-License-Identifier: GPL-3.0-or-later
#include "random_source.h"

#include <chrono>

namespace pairly {

void ClockSeededRandom::reseedFromTimeOfDay()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    // Two calls within one microsecond would repeat a seed; mixing in the
    // previous seed keeps back-to-back shuffles apart.
    seed_ = static_cast<uint64_t>(duration_cast<microseconds>(sinceMidnight).count()) ^ (seed_ * 0x9E3779B97F4A7C15ull);
    std::seed_seq seq{static_cast<uint32_t>(seed_), static_cast<uint32_t>(seed_ >> 32)};
    gen_.seed(seq);
}

float ClockSeededRandom::next()
{
    // 24 random bits fill a float's mantissa exactly, so the result is < 1.
    return static_cast<float>(gen_() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace pairly
