// SPDX-License-Identifier: GPL-3.0-or-later
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

// The titles with their access letters, "&Info" without a drop-down, and the
// items found by name and index in design order.
TEST_F(MenuBarTest, TitlesAndItemsAsDesigned)
{
    QStringList captions;
    for (const QAction* title : window.menuBar()->actions())
        captions << title->text();
    EXPECT_EQ(captions, QStringList({"&Rules", "&Options", "&Sounds", "&Music", "&Info"}));
    EXPECT_EQ(menu.action(u"menu_about"), window.menuBar()->actions().last());
    EXPECT_EQ(menu.action(u"menu_about")->menu(), nullptr);

    const QList<QAction*> songs = menu.menu(u"music")->actions();
    ASSERT_EQ(songs.size(), 12);
    EXPECT_EQ(songs[1], menu.action(u"all"));
    EXPECT_EQ(songs[6], menu.action(u"canzoni", 5));
    EXPECT_EQ(songs[6]->text(), QStringLiteral("inds_01"));
    EXPECT_EQ(menu.action(u"inglese", 2)->text(), QStringLiteral("English"));
    EXPECT_EQ(menu.action(u"italiano"), nullptr) << "an array item needs its index";
}

// Items of the menus that keep state are checkable, only "Scopa" checked;
// choosing one leaves its mark to the handler, which sees it as it was.
TEST_F(MenuBarTest, CheckMarksChangeOnlyInHandlers)
{
    for (const char16_t* title : {u"rules", u"options", u"sounds", u"music"})
        for (const QAction* item : menu.menu(title)->actions()) {
            EXPECT_EQ(item->isCheckable(), QStringView(title) != u"rules") << item->text().toStdString();
            EXPECT_EQ(item->isChecked(), item == menu.action(u"canzoni", 9)) << item->text().toStdString();
        }
    QAction* rustle = menu.action(u"cards");
    bool seenByHandler = true;
    QObject::connect(rustle, &QAction::triggered, [&] {
        seenByHandler = rustle->isChecked();
        rustle->setChecked(!rustle->isChecked());
    });
    rustle->trigger();
    EXPECT_FALSE(seenByHandler);
    EXPECT_TRUE(rustle->isChecked());
    menu.action(u"canzoni", 9)->trigger();
    EXPECT_TRUE(menu.action(u"canzoni", 9)->isChecked());
}

// "&Info" acts at once, by click and by Alt+I, and opens no popup.
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
