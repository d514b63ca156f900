// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/common/surface_item_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>

namespace pairly {

class TableAccessibility;

// A card is drawn by two image controls, its back and its face, and so it is
// two buttons for assistive technologies, of which the one the player sees
// shows: the back, named by the card's place ("row 2, column 3") and
// described as "face down", and the face, named by the place and "face up"
// and described by the face's name or as "found". Turning or covering the
// card under the cursor moves the focus from one to the other, which a screen
// reader reads out at once; Orca 43 takes two objects of the same role, name
// and place for one, hence the face's longer name. A press on either is a
// click on the card: the game turns it, or refuses.
enum class CardLayer { Back, Face };

class CardAccessible final : public SurfaceItemAccessible, public QAccessibleActionInterface {
public:
    CardAccessible(TableAccessibility& table, int place, CardLayer layer);

    int place() const { return place_; }
    CardLayer layer() const { return layer_; }

    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    TableAccessibility& table_;
    int place_;
    CardLayer layer_;
};

// The table as a whole, where the focus goes when a game is dealt: named by
// its size ("20 cards, 4 rows of 5"), described as "all face down" while no
// card is up.
class TableSummaryAccessible final : public SurfaceItemAccessible {
public:
    explicit TableSummaryAccessible(TableAccessibility& table);

    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Client; }
    QAccessible::State state() const override;

private:
    TableAccessibility& table_;
};

// A window's surface: its controls, less the image controls; with the cards
// of the grid and the table first when the surface holds the table, and the
// notifications of its screen reader focus.
class SurfaceAccessible final : public QAccessibleWidget {
public:
    explicit SurfaceAccessible(QWidget* surface);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    TableAccessibility* table() const;
    int tableChildren() const;
    QAccessibleInterface* announcer() const;
    QWidgetList controls() const;

    mutable QPointer<TableAccessibility> table_;
};

}  // namespace pairly
