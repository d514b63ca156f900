// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_accessible.h"

#include "card_cursor.h"
#include "card_places.h"
#include "table_accessibility.h"

#include "ui/common/image_control.h"
#include "ui/common/screen_reader_focus.h"

#include <QWidget>

namespace pairly {

CardAccessible::CardAccessible(TableAccessibility& table, int place, CardLayer layer)
    : SurfaceItemAccessible(table.surface()), table_(table), place_(place), layer_(layer)
{
}

QString CardAccessible::text(QAccessible::Text t) const
{
    const CardPlaces& places = table_.places();
    switch (t) {
    case QAccessible::Name:
        return layer_ == CardLayer::Back ? places.name(place_) : places.name(place_) + QStringLiteral(", face up");
    case QAccessible::Description:
        if (layer_ == CardLayer::Back)
            return QStringLiteral("face down");
        return places.state(place_) == CardState::Found ? QStringLiteral("found") : places.face(place_);
    default:
        return {};
    }
}

QRect CardAccessible::rect() const
{
    const QRect r = table_.places().rect(place_);
    return QRect(surface().mapToGlobal(r.topLeft()), r.size());
}

QAccessible::State CardAccessible::state() const
{
    QAccessible::State s;
    const bool down = table_.places().state(place_) == CardState::FaceDown;
    s.invisible = !surface().isVisible() || !surface().rect().intersects(table_.places().rect(place_))
                  || down != (layer_ == CardLayer::Back);
    s.offscreen = s.invisible;
    s.focusable = true;
    s.focused = table_.focus().hasFocus(this);
    return s;
}

void* CardAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

void CardAccessible::doAction(const QString& name)
{
    if (name == pressAction() && !table_.places().turn(place_))
        table_.refused(place_);
}

TableSummaryAccessible::TableSummaryAccessible(TableAccessibility& table)
    : SurfaceItemAccessible(table.surface()), table_(table)
{
}

QString TableSummaryAccessible::text(QAccessible::Text t) const
{
    const CardPlaces& places = table_.places();
    switch (t) {
    case QAccessible::Name:
        return places.summary();
    case QAccessible::Description:
        for (int place = 0; place < places.count(); ++place) {
            if (places.state(place) != CardState::FaceDown)
                return {};
        }
        return QStringLiteral("all face down");
    default:
        return {};
    }
}

QRect TableSummaryAccessible::rect() const
{
    return QRect(surface().mapToGlobal(table_.places().rect(0).topLeft()), QSize(0, 0));
}

QAccessible::State TableSummaryAccessible::state() const
{
    // Nothing of its own shows: a review of the screen meets the cards.
    QAccessible::State s;
    s.invisible = true;
    s.focusable = true;
    s.focused = table_.focus().hasFocus(this);
    return s;
}

SurfaceAccessible::SurfaceAccessible(QWidget* surface) : QAccessibleWidget(surface, QAccessible::Client) {}

TableAccessibility* SurfaceAccessible::table() const
{
    if (!table_)
        table_ = widget()->findChild<TableAccessibility*>(QString(), Qt::FindDirectChildrenOnly);
    return table_;
}

int SurfaceAccessible::tableChildren() const
{
    TableAccessibility* t = table();
    return t ? t->childCount() : 0;
}

QAccessibleInterface* SurfaceAccessible::announcer() const
{
    const auto* focus = widget()->findChild<ScreenReaderFocus*>(QString(), Qt::FindDirectChildrenOnly);
    return focus ? focus->announcer() : nullptr;
}

QWidgetList SurfaceAccessible::controls() const
{
    TableAccessibility* t = table();
    QWidgetList list;
    for (QObject* o : widget()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && !qobject_cast<ImageControl*>(w) && (!t || w != t->frame()))
            list.append(w);
    }
    return list;
}

int SurfaceAccessible::childCount() const
{
    return tableChildren() + (announcer() ? 1 : 0) + static_cast<int>(controls().size());
}

QAccessibleInterface* SurfaceAccessible::child(int index) const
{
    int n = tableChildren();
    if (index >= 0 && index < n)
        return table()->child(index);
    if (QAccessibleInterface* a = announcer()) {
        if (index == n)
            return a;
        ++n;
    }
    const QWidgetList list = controls();
    return index >= n && index - n < list.size() ? QAccessible::queryAccessibleInterface(list[index - n]) : nullptr;
}

int SurfaceAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (child == nullptr)
        return -1;
    int n = tableChildren();
    if (TableAccessibility* t = table()) {
        const int i = t->indexOfChild(child);
        if (i >= 0)
            return i;
    }
    if (QAccessibleInterface* a = announcer()) {
        if (a == child)
            return n;
        ++n;
    }
    const int i = static_cast<int>(controls().indexOf(qobject_cast<QWidget*>(child->object())));
    return i < 0 ? -1 : n + i;
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
    return t ? t->childAt(at) : nullptr;
}

}  // namespace pairly
