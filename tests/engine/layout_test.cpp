// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/layout.h"
#include "engine/table_model.h"

#include <gtest/gtest.h>

#include <string>

namespace pairly {
namespace {

struct GridCase {
    int32_t width, height;
    int16_t ncarte, righe;
    int32_t lato, sinistra, sopra;
};

class GridGeometry : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridGeometry, RoundsEachValueHalfToEven)
{
    const auto& c = GetParam();
    TableModel m;
    m.larghezza = c.width;
    m.altezza = c.height;
    m.ncarte = c.ncarte;
    m.righe = c.righe;
    computeGrid(m);
    EXPECT_EQ(m.lato, c.lato);
    EXPECT_EQ(m.sinistra, c.sinistra);
    EXPECT_EQ(m.sopra, c.sopra);
}

INSTANTIATE_TEST_SUITE_P(Windows, GridGeometry, ::testing::Values(
    GridCase{1000, 700, 20, 4, 140, 150, 4},   // sopra 3.5 -> 4
    GridCase{1000, 700, 48, 6, 93, 128, 4},    // lato 93.33, sinistra 128
    GridCase{1000, 700, 80, 8, 70, 150, 4},
    GridCase{1001, 700, 20, 4, 140, 150, 4},   // 150.5 -> 150
    GridCase{1003, 700, 20, 4, 140, 152, 4},   // 151.5 -> 152
    GridCase{500, 700, 20, 4, 140, -100, 4},   // narrower than the grid: overhangs both sides
    GridCase{503, 700, 20, 4, 140, -98, 4},    // -98.5 -> -98
    GridCase{1920, 1080, 80, 8, 108, 420, 5},  // 5.4 -> 5
    GridCase{1280, 1024, 48, 6, 137, 92, 5}),  // 136.53, 91.9, 5.12
    [](const auto& info) {
        const GridCase& c = info.param;
        return std::to_string(c.width) + "x" + std::to_string(c.height) + "Cards" + std::to_string(c.ncarte);
    });

}  // namespace
}  // namespace pairly
