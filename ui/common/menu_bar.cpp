// SPDX-License-Identifier: GPL-3.0-or-later
#include "menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace pairly {

namespace {

void keepCheckMarkOnTrigger(QAction* action)
{
    // QAction flips a checkable action's mark before triggered() is
    // emitted; this connection is made first, so it runs before any
    // handler and undoes the flip.
    QObject::connect(action, &QAction::triggered, action,
                     [action](bool checked) { action->setChecked(!checked); });
}

}  // namespace

MenuBar::MenuBar(QMenuBar& bar, const std::vector<MenuTitleDesign>& titles)
{
    for (const MenuTitleDesign& title : titles) {
        QAction* titleAction = nullptr;
        if (title.items.empty()) {
            titleAction = bar.addAction(title.caption);
        } else {
            QMenu* menu = bar.addMenu(title.caption);
            menu->setObjectName(title.name);
            menus_.emplace(title.name, menu);
            titleAction = menu->menuAction();
            for (const MenuItemDesign& item : title.items) {
                QAction* action = menu->addAction(item.caption);
                action->setObjectName(item.name);
                action->setData(item.index);
                if (title.checkMarks) {
                    action->setCheckable(true);
                    action->setChecked(item.checked);
                    keepCheckMarkOnTrigger(action);
                }
                actions_.emplace(Key{item.name, item.index}, action);
            }
        }
        titleAction->setObjectName(title.name);
        titles_.push_back(titleAction);
        actions_.emplace(Key{title.name, kNoIndex}, titleAction);
    }
}

QAction* MenuBar::action(QStringView name, int index) const
{
    const auto found = actions_.find(Key{name.toString(), index});
    return found == actions_.end() ? nullptr : found->second;
}

QMenu* MenuBar::menu(QStringView titleName) const
{
    const auto found = menus_.find(titleName.toString());
    return found == menus_.end() ? nullptr : found->second;
}

}  // namespace pairly
