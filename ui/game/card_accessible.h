// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPointer>

namespace pairly {

class TableAccessibility;

// One card of the grid for assistive technologies: a button named by its
// place, described by what it shows, pressed like a click on its back.
class CardAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CardAccessible(TableAccessibility& table, int place);

    int place() const { return place_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
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
};

// A window's surface: its controls, less the image controls; with the cards
// of the grid first when the surface holds the table.
class SurfaceAccessible final : public QAccessibleWidget {
public:
    explicit SurfaceAccessible(QWidget* surface);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    TableAccessibility* table() const;
    int cards() const;
    QWidgetList controls() const;

    mutable QPointer<TableAccessibility> table_;
};

}  // namespace pairly
