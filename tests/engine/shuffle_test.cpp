// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shuffle.h"
#include "engine/table_model.h"
#include "fake_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace pairly {
namespace {

using testing::MtRandom;
using testing::ScriptedRandom;

// Draws that hit a used number are thrown away without advancing, a draw of
// 1.0 is refused instead of running past the pool, and a shuffle of nothing
// draws and touches nothing. Every shuffle reseeds once.
TEST(Mescola, FollowsAFixedDrawSequence)
{
    struct Case {
        int16_t n;
        std::vector<float> draws;
        std::vector<int16_t> order;
        int drawn;
    };
    for (const Case& c : {Case{4, {0.5f, 0.5f, 0.0f, 0.9f, 0.3f}, {3, 1, 4, 2}, 5}, Case{1, {1.0f, 0.0f}, {1}, 2},
                          Case{0, {}, {}, 0}}) {
        TableModel m;
        m.ordine.fill(7);
        m.disponibili.fill(9);
        ScriptedRandom r(c.draws);
        Mescola(c.n, m, r);
        EXPECT_EQ(std::vector<int16_t>(m.ordine.begin() + 1, m.ordine.begin() + 1 + c.n), c.order) << c.n;
        EXPECT_EQ(r.draws, c.drawn) << c.n;
        EXPECT_EQ(r.reseeds, 1) << c.n;
        EXPECT_EQ(m.ordine[0], 7) << c.n;
        EXPECT_EQ(m.ordine[c.n + 1], 7) << c.n;
        if (c.n == 0) {
            EXPECT_TRUE(std::all_of(m.disponibili.begin(), m.disponibili.end(), [](int16_t v) { return v == 9; }));
        }
    }
}

class MescolaSizes : public ::testing::TestWithParam<int16_t> {};

TEST_P(MescolaSizes, FillsAPermutationEmptiesThePoolAndLeavesTheRest)
{
    const int16_t n = GetParam();
    TableModel m;
    m.ordine.fill(-1);
    MtRandom r(1234 + n);
    Mescola(n, m, r);
    std::vector<int16_t> got(m.ordine.begin() + 1, m.ordine.begin() + 1 + n);
    std::sort(got.begin(), got.end());
    std::vector<int16_t> want(n);
    std::iota(want.begin(), want.end(), int16_t{1});
    EXPECT_EQ(got, want);
    for (int i = 1; i <= n; ++i)
        EXPECT_EQ(m.disponibili[i], 0) << i;
    EXPECT_EQ(m.ordine[0], -1);
    for (int i = n + 1; i <= 80; ++i)
        EXPECT_EQ(m.ordine[i], -1) << i;
}

INSTANTIATE_TEST_SUITE_P(Sizes, MescolaSizes, ::testing::Values(1, 20, 40, 48, 80));

TEST(ClockSeededRandom, StaysBelowOneAndChangesSeedOnEveryReseed)
{
    ClockSeededRandom r;
    r.reseedFromTimeOfDay();
    const auto first = r.lastSeed();
    r.reseedFromTimeOfDay();
    EXPECT_NE(first, r.lastSeed());
    float highest = 0.0f;
    for (int i = 0; i < 1000; ++i) {
        const float v = r.next();
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
        highest = std::max(highest, v);
    }
    EXPECT_GT(highest, 0.99f);  // the whole range is drawn
}

}  // namespace
}  // namespace pairly
