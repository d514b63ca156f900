// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QLatin1String>
#include <QObject>
#include <QString>

namespace pairly {

// Gives every widget whose class is exactly `Widget` the interface
// `Interface` (made from a `Widget*`) for assistive technologies. Qt keeps a
// factory once, so installing it again changes nothing.
template <typename Widget, typename Interface>
void installAccessibleFactory()
{
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        if (className == QLatin1String(Widget::staticMetaObject.className()) && object != nullptr
            && object->isWidgetType())
            return new Interface(static_cast<Widget*>(object));
        return nullptr;
    });
}

// Tells assistive technologies of `type` for `object`; nothing for none.
inline void sendAccessibleEvent(QAccessibleInterface* object, QAccessible::Event type)
{
    if (object == nullptr)
        return;
    QAccessibleEvent event(object, type);
    QAccessible::updateAccessibility(&event);
}

}  // namespace pairly
