// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_accessibility.h"

#include "card_cursor.h"
#include "card_places.h"

#include "ui/common/accessibility.h"
#include "ui/common/caption_label.h"
#include "ui/common/screen_reader_focus.h"
#include "ui/common/surface_widget.h"

#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace pairly {
namespace {

bool contains(const std::vector<int>& places, int place)
{
    return std::find(places.begin(), places.end(), place) != places.end();
}

}  // namespace

void installTableAccessibility()
{
    installAccessibleFactory<SurfaceWidget, SurfaceAccessible>();
}

TableAccessibility::TableAccessibility(QWidget& surface, const CardPlaces& places, const CardCursor& cursor,
                                       CaptionLabel& exit, ScreenReaderFocus& focus)
    : QObject(&surface), places_(places), cursor_(cursor), exit_(exit), focus_(focus)
{
    focus_.setPrepare([this] { update(); });
    connect(&cursor, &CardCursor::attentionMoved, this, [this] {
        attentionMoved_ = true;
        focus_.refresh();
    });
}

TableAccessibility::~TableAccessibility()
{
    focus_.setPrepare(nullptr);
    for (const auto& layers : ids_) {
        for (QAccessible::Id id : layers) {
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
        }
    }
    if (table_ != 0)
        QAccessible::deleteAccessibleInterface(table_);
}

QWidget& TableAccessibility::surface() const
{
    return *static_cast<QWidget*>(parent());
}

const QWidget* TableAccessibility::frame() const
{
    return cursor_.frame();
}

QAccessibleInterface* TableAccessibility::layer(int place, CardLayer layer)
{
    if (place < 0 || place >= TableModel::kMaxCards)
        return nullptr;
    QAccessible::Id& id = ids_[static_cast<size_t>(place)][layer == CardLayer::Face ? 1 : 0];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new CardAccessible(*this, place, layer));
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* TableAccessibility::shown(int place)
{
    return layer(place, places_.state(place) == CardState::FaceDown ? CardLayer::Back : CardLayer::Face);
}

QAccessibleInterface* TableAccessibility::table()
{
    if (table_ == 0)
        table_ = QAccessible::registerAccessibleInterface(new TableSummaryAccessible(*this));
    return QAccessible::accessibleInterface(table_);
}

int TableAccessibility::childCount() const
{
    const int count = places_.count();
    return count == 0 ? 0 : 2 * count + 1;
}

QAccessibleInterface* TableAccessibility::child(int index)
{
    const int count = places_.count();
    if (index < 0 || count == 0)
        return nullptr;
    if (index < 2 * count)
        return layer(index / 2, index % 2 == 0 ? CardLayer::Back : CardLayer::Face);
    return index == 2 * count ? table() : nullptr;
}

int TableAccessibility::indexOfChild(const QAccessibleInterface* child) const
{
    const int count = places_.count();
    if (const auto* card = dynamic_cast<const CardAccessible*>(child))
        return card->place() < count ? 2 * card->place() + (card->layer() == CardLayer::Face ? 1 : 0) : -1;
    if (child != nullptr && count > 0 && table_ != 0 && QAccessible::accessibleInterface(table_) == child)
        return 2 * count;
    return -1;
}

QAccessibleInterface* TableAccessibility::childAt(QPoint at)
{
    for (int place = 0; place < places_.count(); ++place) {
        if (places_.rect(place).contains(at))
            return shown(place);
    }
    return nullptr;
}

void TableAccessibility::cardsChanged()
{
    focus_.refresh();
}

void TableAccessibility::refused(int place)
{
    focus_.announce(places_.refusal(place));
}

void TableAccessibility::update()
{
    const int count = places_.count();
    const bool dealt = places_.deals() != dealt_;
    dealt_ = places_.deals();
    for (int place = count; place < listed_; ++place) {
        sendAccessibleEvent(layer(place, CardLayer::Back), QAccessible::ObjectDestroyed);
        sendAccessibleEvent(layer(place, CardLayer::Face), QAccessible::ObjectDestroyed);
    }
    std::vector<int> turned;
    std::vector<int> covered;
    bool allDown = true;
    for (int place = 0; place < count; ++place) {
        Told& was = told_[static_cast<size_t>(place)];
        const Told now{places_.state(place), places_.name(place), places_.face(place)};
        allDown = allDown && now.state == CardState::FaceDown;
        if (place >= listed_) {
            was = now;
            sendAccessibleEvent(layer(place, CardLayer::Back), QAccessible::ObjectCreated);
            sendAccessibleEvent(layer(place, CardLayer::Face), QAccessible::ObjectCreated);
            continue;
        }
        if (now.name != was.name) {
            focus_.changed(layer(place, CardLayer::Back), QAccessible::NameChanged);
            focus_.changed(layer(place, CardLayer::Face), QAccessible::NameChanged);
        }
        const bool upBefore = was.state != CardState::FaceDown;
        const bool upNow = now.state != CardState::FaceDown;
        if (now.face != was.face || (was.state == CardState::Found) != (now.state == CardState::Found))
            focus_.changed(layer(place, CardLayer::Face), QAccessible::DescriptionChanged);
        if (upNow != upBefore) {
            sendAccessibleEvent(layer(place, upNow ? CardLayer::Face : CardLayer::Back), QAccessible::ObjectShow);
            sendAccessibleEvent(layer(place, upNow ? CardLayer::Back : CardLayer::Face), QAccessible::ObjectHide);
        }
        // A new deal starts from a covered table, whatever the last one showed.
        if (upNow && (dealt || !upBefore))
            turned.push_back(place);
        else if (!upNow && upBefore && !dealt)
            covered.push_back(place);
        was = now;
    }
    if (count != listed_ || dealt)
        focus_.changed(table(), QAccessible::NameChanged);
    if (allDown != tableDown_) {
        tableDown_ = allDown;
        focus_.changed(table(), QAccessible::DescriptionChanged);
    }
    listed_ = count;

    if (dealt) {
        aim_ = Aim::Table;
        focus_.setTarget(table(), true);
    }
    if (attentionMoved_) {
        attentionMoved_ = false;
        if (cursor_.attention() == CardCursor::Attention::Card) {
            aim_ = Aim::Card;
            focusPlace_ = cursor_.place();
        } else if (cursor_.attention() == CardCursor::Attention::Exit) {
            aim_ = Aim::Exit;
        }
    }
    if (!turned.empty()) {
        // The card the cursor turned, or else the one clicked.
        const bool onCursor = cursor_.attention() == CardCursor::Attention::Card && contains(turned, cursor_.place());
        aim_ = Aim::Card;
        focusPlace_ = onCursor ? cursor_.place() : turned.back();
    }
    if (!covered.empty() && !(aim_ == Aim::Card && contains(covered, focusPlace_))) {
        QStringList names;
        for (int place : covered)
            names << places_.name(place);
        focus_.announce(names.join(QStringLiteral(" and ")) + QStringLiteral(" face down"));
    }
    switch (aim_) {
    case Aim::Table:
        break;
    case Aim::Card:
        focus_.setTarget(focusPlace_ < count ? shown(focusPlace_) : table());
        break;
    case Aim::Exit:
        focus_.setTarget(QAccessible::queryAccessibleInterface(&exit_));
        break;
    case Aim::None:
        break;
    }
}

}  // namespace pairly
