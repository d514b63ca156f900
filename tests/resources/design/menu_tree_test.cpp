#include "resources/design/window_designs.h"

#include <gtest/gtest.h>

namespace pairly {
namespace {

TEST(MenuTree, FiveTitlesLeftToRight)
{
    const auto& menu = form1Design().menu;
    ASSERT_EQ(menu.size(), 5u);
    const std::pair<const char*, const char*> titles[] = {
        {"rules", "&Rules"}, {"options", "&Options"}, {"sounds", "&Sounds"},
        {"music", "&Music"}, {"menu_about", "&Info"}};
    for (size_t t = 0; t < menu.size(); ++t) {
        EXPECT_EQ(menu[t].name, QString::fromLatin1(titles[t].first));
        EXPECT_EQ(menu[t].caption, QString::fromLatin1(titles[t].second));
    }
    EXPECT_TRUE(menu[4].items.empty()) << "\"&Info\" opens no drop-down";
}

TEST(MenuTree, ItemsInOrderWithTheirIndices)
{
    struct Item {
        const char* name;
        int index;
        const char* caption;
    };
    const std::vector<std::vector<Item>> expected = {
        {{"italiano", 1, "Italiano"}, {"inglese", 2, "English"}},
        {{"venti", kNoIndex, "20 cards"}, {"quarantotto", kNoIndex, "48 cards"}, {"ottanta", kNoIndex, "80 cards"}},
        {{"cards", kNoIndex, "card rustle"}},
        {{"nomusic", kNoIndex, "no music"}, {"all", kNoIndex, "sequential mode"},
         {"canzoni", 1, "Chill1"}, {"canzoni", 2, "Champion"}, {"canzoni", 3, "Champs"},
         {"canzoni", 4, "Easycity"}, {"canzoni", 5, "inds_01"}, {"canzoni", 6, "Humanoid"},
         {"canzoni", 7, "Impact"}, {"canzoni", 8, "Lastday"}, {"canzoni", 9, "Scopa"},
         {"canzoni", 10, "Sevilana"}},
        {},
    };
    const auto& menu = form1Design().menu;
    ASSERT_EQ(menu.size(), expected.size());
    for (size_t t = 0; t < menu.size(); ++t) {
        ASSERT_EQ(menu[t].items.size(), expected[t].size()) << menu[t].name.toStdString();
        for (size_t i = 0; i < expected[t].size(); ++i) {
            const MenuItemDesign& item = menu[t].items[i];
            EXPECT_EQ(item.name, QString::fromLatin1(expected[t][i].name));
            EXPECT_EQ(item.index, expected[t][i].index);
            EXPECT_EQ(item.caption, QString::fromLatin1(expected[t][i].caption));
        }
    }
}

TEST(MenuTree, OnlyScopaIsCheckedAndStateMenusCarryCheckMarks)
{
    int checked = 0;
    for (const MenuTitleDesign& title : form1Design().menu) {
        const bool keepsState = title.name == u"options" || title.name == u"sounds" || title.name == u"music";
        EXPECT_EQ(title.checkMarks, keepsState) << title.name.toStdString();
        for (const MenuItemDesign& item : title.items) {
            if (item.checked) {
                ++checked;
                EXPECT_EQ(item.caption, QStringLiteral("Scopa"));
                EXPECT_EQ(item.index, 9);
            }
        }
    }
    EXPECT_EQ(checked, 1);
}

}  // namespace
}  // namespace pairly
