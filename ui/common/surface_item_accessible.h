// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleInterface>
#include <QWidget>
#include <QWindow>

namespace pairly {

// An object for assistive technologies without a widget of its own and
// without children, lying on a window's surface: a card, the table, a
// notification. Its owner deletes it before the surface goes.
class SurfaceItemAccessible : public QAccessibleInterface {
public:
    explicit SurfaceItemAccessible(QWidget& surface) : surface_(surface) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return surface_.window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&surface_); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QWidget& surface() const { return surface_; }

private:
    QWidget& surface_;
};

}  // namespace pairly
