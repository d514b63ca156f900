#include "resources/design/window_designs.h"

#include <gtest/gtest.h>

namespace pairly {
namespace {

// The five titles in order, spot checks of their items, check marks only on
// the menus that keep state, and "Scopa" the only item checked.
TEST(MenuTree, TitlesItemsAndCheckMarks)
{
    const auto& menu = form1Design().menu;
    const std::tuple<const char*, const char*, size_t, bool> titles[] = {
        {"rules", "&Rules", 2, false}, {"options", "&Options", 3, true}, {"sounds", "&Sounds", 1, true},
        {"music", "&Music", 12, true}, {"menu_about", "&Info", 0, false}};
    ASSERT_EQ(menu.size(), std::size(titles));
    for (size_t t = 0; t < menu.size(); ++t) {
        const auto& [name, caption, items, checkMarks] = titles[t];
        EXPECT_EQ(menu[t].name, QLatin1String(name));
        EXPECT_EQ(menu[t].caption, QLatin1String(caption));
        EXPECT_EQ(menu[t].items.size(), items) << name;
        EXPECT_EQ(menu[t].checkMarks, checkMarks) << name;
    }
    const std::tuple<size_t, size_t, const char*, int, const char*> items[] = {
        {0, 0, "italiano", 1, "Italiano"},   {0, 1, "inglese", 2, "English"},  {1, 0, "venti", kNoIndex, "20 cards"},
        {1, 2, "ottanta", kNoIndex, "80 cards"}, {2, 0, "cards", kNoIndex, "card rustle"},
        {3, 0, "nomusic", kNoIndex, "no music"}, {3, 1, "all", kNoIndex, "sequential mode"},
        {3, 2, "canzoni", 1, "Chill1"},      {3, 6, "canzoni", 5, "inds_01"}, {3, 11, "canzoni", 10, "Sevilana"}};
    for (const auto& [t, i, name, index, caption] : items) {
        const MenuItemDesign& item = menu[t].items.at(i);
        EXPECT_EQ(std::tuple(item.name, item.index, item.caption),
                  std::tuple(QString::fromLatin1(name), index, QString::fromLatin1(caption)));
    }
    for (const MenuTitleDesign& title : menu)
        for (const MenuItemDesign& item : title.items)
            EXPECT_EQ(item.checked, item.caption == u"Scopa" && item.index == 9) << item.caption.toStdString();
}

}  // namespace
}  // namespace pairly
