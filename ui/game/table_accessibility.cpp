// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_accessibility.h"

#include "card_accessible.h"
#include "card_cursor.h"
#include "card_places.h"

#include <QTimer>
#include <QWidget>

namespace pairly {
namespace {

QAccessibleInterface* surfaceInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("pairly::SurfaceWidget") && object != nullptr && object->isWidgetType())
        return new SurfaceAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void installTableAccessibility()
{
    QAccessible::installFactory(surfaceInterface);
}

TableAccessibility::TableAccessibility(QWidget& surface, const CardPlaces& places, const CardCursor& cursor)
    : QObject(&surface), places_(places), cursor_(cursor)
{
    connect(&cursor, &CardCursor::cardAttention, this, [this](int place) {
        // Changes not yet told come first: the focus then reads the card as it is.
        announce();
        send(place, QAccessible::Focus);
    });
}

TableAccessibility::~TableAccessibility()
{
    for (QAccessible::Id id : ids_) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
}

QWidget& TableAccessibility::surface() const
{
    return *static_cast<QWidget*>(parent());
}

QAccessibleInterface* TableAccessibility::card(int place)
{
    if (place < 0 || place >= TableModel::kMaxCards)
        return nullptr;
    QAccessible::Id& id = ids_[static_cast<size_t>(place)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new CardAccessible(*this, place));
    return QAccessible::accessibleInterface(id);
}

void TableAccessibility::cardsChanged()
{
    if (pending_ || !QAccessible::isActive())
        return;
    pending_ = true;
    QTimer::singleShot(0, this, &TableAccessibility::announce);
}

void TableAccessibility::announce()
{
    pending_ = false;
    if (!QAccessible::isActive())
        return;
    const int count = places_.count();
    for (int place = count; place < listed_; ++place)
        send(place, QAccessible::ObjectDestroyed);
    for (int place = 0; place < count; ++place) {
        QString& told = described_[static_cast<size_t>(place)];
        const QString now = places_.description(place);
        if (place >= listed_) {
            told = now;
            send(place, QAccessible::ObjectCreated);
        } else if (now != told) {
            told = now;
            send(place, QAccessible::DescriptionChanged);
        }
    }
    listed_ = count;
}

void TableAccessibility::send(int place, QAccessible::Event type)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(card(place), type);
    QAccessible::updateAccessibility(&event);
}

}  // namespace pairly
