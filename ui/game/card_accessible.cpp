// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_accessible.h"

#include "card_cursor.h"
#include "card_places.h"
#include "table_accessibility.h"

#include "ui/common/image_control.h"

#include <QWidget>

namespace pairly {

CardAccessible::CardAccessible(TableAccessibility& table, int place) : table_(table), place_(place) {}

bool CardAccessible::isValid() const
{
    return true;  // lives no longer than its table, which deletes it
}

QWindow* CardAccessible::window() const
{
    return table_.surface().window()->windowHandle();
}

QAccessibleInterface* CardAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(&table_.surface());
}

QString CardAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return table_.places().name(place_);
    case QAccessible::Description:
        return table_.places().description(place_);
    default:
        return {};
    }
}

QRect CardAccessible::rect() const
{
    const QRect r = table_.places().rect(place_);
    return QRect(table_.surface().mapToGlobal(r.topLeft()), r.size());
}

QAccessible::State CardAccessible::state() const
{
    QAccessible::State s;
    const QWidget& surface = table_.surface();
    s.invisible = !surface.isVisible() || !surface.rect().intersects(table_.places().rect(place_));
    s.offscreen = s.invisible;
    s.focusable = true;
    s.focused = table_.cursor().attention() == CardCursor::Attention::Card && table_.cursor().place() == place_;
    return s;
}

void* CardAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

void CardAccessible::doAction(const QString& name)
{
    if (name == pressAction())
        table_.places().turn(place_);
}

SurfaceAccessible::SurfaceAccessible(QWidget* surface) : QAccessibleWidget(surface, QAccessible::Client) {}

TableAccessibility* SurfaceAccessible::table() const
{
    if (!table_)
        table_ = widget()->findChild<TableAccessibility*>(QString(), Qt::FindDirectChildrenOnly);
    return table_;
}

int SurfaceAccessible::cards() const
{
    TableAccessibility* t = table();
    return t ? t->places().count() : 0;
}

QWidgetList SurfaceAccessible::controls() const
{
    TableAccessibility* t = table();
    QWidgetList list;
    for (QObject* o : widget()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && !qobject_cast<ImageControl*>(w) && (!t || w != t->cursor().frame()))
            list.append(w);
    }
    return list;
}

int SurfaceAccessible::childCount() const
{
    return cards() + static_cast<int>(controls().size());
}

QAccessibleInterface* SurfaceAccessible::child(int index) const
{
    const int n = cards();
    if (index >= 0 && index < n)
        return table()->card(index);
    const QWidgetList list = controls();
    return index >= n && index - n < list.size() ? QAccessible::queryAccessibleInterface(list[index - n]) : nullptr;
}

int SurfaceAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (child == nullptr)
        return -1;
    if (const auto* card = dynamic_cast<const CardAccessible*>(child))
        return card->place() < cards() ? card->place() : -1;
    const int i = static_cast<int>(controls().indexOf(qobject_cast<QWidget*>(child->object())));
    return i < 0 ? -1 : cards() + i;
}

QAccessibleInterface* SurfaceAccessible::childAt(int x, int y) const
{
    const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
    const QWidgetList list = controls();
    // Topmost first: the panels lie over the cards.
    for (auto w = list.crbegin(); w != list.crend(); ++w) {
        if ((*w)->isVisible() && (*w)->geometry().contains(at))
            return QAccessible::queryAccessibleInterface(*w);
    }
    TableAccessibility* t = table();
    for (int place = 0; t && place < cards(); ++place) {
        if (t->places().rect(place).contains(at))
            return t->card(place);
    }
    return nullptr;
}

}  // namespace pairly
