// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>

namespace pairly {

// Uniform numbers in [0, 1), single precision, reseeded from the clock.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseedFromTimeOfDay() = 0;
    virtual float next() = 0;
};

// Mersenne Twister reseeded from the microseconds elapsed since midnight.
class ClockSeededRandom final : public RandomSource {
public:
    void reseedFromTimeOfDay() override;
    float next() override;
    uint64_t lastSeed() const { return seed_; }

private:
    std::mt19937 gen_{};
    uint64_t seed_ = 0;
};

}  // namespace pairly
