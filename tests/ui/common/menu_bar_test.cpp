#include "resources/design/window_designs.h"
#include "ui/common/menu_bar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pairly {
namespace {

class MenuBarTest : public ::testing::Test {
protected:
    QMainWindow window;
    MenuBar menu{*window.menuBar(), form1Design().menu};
};

TEST_F(MenuBarTest, FiveTitlesWithTheirAccessLetters)
{
    const QList<QAction*> titles = window.menuBar()->actions();
    ASSERT_EQ(titles.size(), 5);
    const char* captions[] = {"&Rules", "&Options", "&Sounds", "&Music", "&Info"};
    for (int t = 0; t < 5; ++t) {
        EXPECT_EQ(titles[t]->text(), QString::fromLatin1(captions[t]));
        EXPECT_EQ(titles[t], menu.titles()[t]);
    }
    EXPECT_EQ(menu.action(u"menu_about"), titles[4]);
    EXPECT_EQ(titles[4]->menu(), nullptr) << "\"&Info\" opens no drop-down";
    EXPECT_EQ(menu.menu(u"menu_about"), nullptr);
    EXPECT_EQ(menu.menu(u"music")->menuAction(), menu.action(u"music"));
}

TEST_F(MenuBarTest, ItemsByNameAndIndexInDesignOrder)
{
    const QList<QAction*> songs = menu.menu(u"music")->actions();
    ASSERT_EQ(songs.size(), 12);
    EXPECT_EQ(songs[0], menu.action(u"nomusic"));
    EXPECT_EQ(songs[1], menu.action(u"all"));
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(songs[k + 1], menu.action(u"canzoni", k));
        EXPECT_EQ(songs[k + 1]->data().toInt(), k);
    }
    EXPECT_EQ(menu.action(u"canzoni", 5)->text(), QStringLiteral("inds_01"));
    EXPECT_EQ(menu.action(u"italiano", 1)->text(), QStringLiteral("Italiano"));
    EXPECT_EQ(menu.action(u"inglese", 2)->text(), QStringLiteral("English"));
    EXPECT_EQ(menu.action(u"italiano"), nullptr);
    EXPECT_EQ(menu.action(u"canzoni", 11), nullptr);
    EXPECT_EQ(menu.action(u"venti")->text(), QStringLiteral("20 cards"));
}

TEST_F(MenuBarTest, CheckMarksOnStateMenusOnlyScopaChecked)
{
    for (const char16_t* title : {u"rules", u"options", u"sounds", u"music"}) {
        const bool stateMenu = QStringView(title) != u"rules";
        for (const QAction* item : menu.menu(title)->actions()) {
            EXPECT_EQ(item->isCheckable(), stateMenu) << item->text().toStdString();
            EXPECT_EQ(item->isChecked(), item == menu.action(u"canzoni", 9)) << item->text().toStdString();
            EXPECT_TRUE(item->isEnabled());
            EXPECT_TRUE(item->shortcut().isEmpty());
        }
    }
}

TEST_F(MenuBarTest, ChoosingAnItemLeavesItsMarkToTheHandler)
{
    QAction* rustle = menu.action(u"cards");
    bool seenByHandler = true;
    QObject::connect(rustle, &QAction::triggered, [&] {
        seenByHandler = rustle->isChecked();
        rustle->setChecked(!rustle->isChecked());
    });
    rustle->trigger();
    EXPECT_FALSE(seenByHandler) << "the handler sees the mark as it was";
    EXPECT_TRUE(rustle->isChecked()) << "and only the handler changes it";

    QAction* scopa = menu.action(u"canzoni", 9);
    scopa->trigger();
    EXPECT_TRUE(scopa->isChecked());
}

TEST_F(MenuBarTest, InfoTriggersAtOnceByClickAndByAltI)
{
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy info(menu.action(u"menu_about"), &QAction::triggered);

    QMenuBar* bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu.action(u"menu_about")).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return info.count() == 1; }, 2000));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QTest::keyClick(&window, Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return info.count() == 2; }, 2000));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace pairly
