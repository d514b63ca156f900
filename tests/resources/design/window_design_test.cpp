// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/design/window_designs.h"

#include <gtest/gtest.h>

#include <set>

namespace pairly {
namespace {

// Names with indices are unique; every control is there: the timer, three
// text boxes, two media controls, three backs, 40 faces, Img(0) and "Exit".
TEST(WindowDesign, ControlsAreUniqueAndArraysComplete)
{
    for (const WindowDesign* window : {&frmmainDesign(), &form1Design()}) {
        std::set<std::pair<QString, int>> seen;
        for (const ControlDesign& control : window->controls)
            EXPECT_TRUE(seen.emplace(control.name, control.index).second) << control.name.toStdString();
    }
    EXPECT_EQ(frmmainDesign().controls.size(), 4u);
    EXPECT_EQ(form1Design().controls.size(), 1u + 3 + 2 + 3 + 40 + 1 + 1);
    const auto faces = form1Design().array(u"Pic");
    ASSERT_EQ(faces.size(), 40u);
    for (int k = 1; k <= 40; ++k)
        EXPECT_EQ(faces[k - 1]->picture, (PictureDesign{PictureDesign::Source::Face, k}));
    EXPECT_EQ(form1Design().find(u"Pic"), nullptr) << "an array element needs its index";
    EXPECT_EQ(form1Design().find(u"dorso80", 0), nullptr) << "names are case-sensitive";
}

TEST(Twips, FifteenToAPixelRoundedToNearest)
{
    const std::pair<int, int> cases[] = {{0, 0},     {7, 0},      {8, 1},      {15, 1}, {852, 57},
                                         {1068, 71}, {1740, 116}, {2292, 153}, {-7, 0}, {-8, -1}};
    for (const auto& [twips, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
    EXPECT_EQ((TwipsRect{5760, 2280, 1116, 552}).toPixels(), QRect(384, 152, 74, 37));
}

}  // namespace
}  // namespace pairly
