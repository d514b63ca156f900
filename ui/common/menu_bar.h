// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/design/window_design.h"

#include <QString>
#include <QStringView>

#include <map>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace pairly {

// The menu tree of a window design on a menu bar. Captions keep their "&"
// access letters. A title without items is an action on the bar itself: it
// opens nothing and is triggered at once (by click or Alt+letter).
//
// Items of titles that keep state in check marks are checkable, with their
// designed check mark. Choosing such an item does not toggle its mark: as
// in the design, the mark changes only when a handler sets it, so a handler
// connected to triggered() reads the mark as it was before the choice.
//
// The actions and menus belong to the menu bar.
class MenuBar {
public:
    MenuBar(QMenuBar& bar, const std::vector<MenuTitleDesign>& titles);

    // An item by name and index, or a title by name (its menu's action, or
    // the bar's own action for a title without items). Nullptr if absent.
    QAction* action(QStringView name, int index = kNoIndex) const;
    // The drop-down of a title; nullptr for a title without items.
    QMenu* menu(QStringView titleName) const;
    // The bar's top-level actions, left to right.
    const std::vector<QAction*>& titles() const { return titles_; }

private:
    using Key = std::pair<QString, int>;

    std::map<Key, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
    std::vector<QAction*> titles_;
};

}  // namespace pairly
