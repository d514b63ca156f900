// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_places.h"

#include "card_table.h"

#include "engine/game.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"

#include <algorithm>

namespace pairly {

CardPlaces::CardPlaces(const Game& game, const CardTable& table) : game_(game), table_(table) {}

int CardPlaces::count() const
{
    return game_.gamesStarted() == 0 ? 0 : game_.model().ncarte;
}

int CardPlaces::rows() const
{
    return game_.model().righe;
}

int CardPlaces::columns() const
{
    return game_.model().colonne();
}

uint64_t CardPlaces::deals() const
{
    return game_.gamesStarted();
}

int16_t CardPlaces::card(int place) const
{
    return place >= 0 && place < count() ? game_.model().ordine[static_cast<size_t>(place) + 1] : int16_t{0};
}

QRect CardPlaces::rect(int place) const
{
    const ImageArray* backs = table_.backs(game_.model().ncarte);
    const ImageControl* back = backs ? backs->element(card(place)) : nullptr;
    return back ? back->geometry() : QRect();
}

CardState CardPlaces::state(int place) const
{
    return cardState(game_.model(), table_, card(place));
}

QString CardPlaces::name(int place) const
{
    return QStringLiteral("row %1, column %2").arg(place / columns() + 1).arg(place % columns() + 1);
}

QString CardPlaces::face(int place) const
{
    return state(place) == CardState::FaceDown ? QString() : table_.faceName(card(place));
}

QString CardPlaces::summary() const
{
    return QStringLiteral("%1 cards, %2 rows of %3").arg(count()).arg(rows()).arg(columns());
}

bool CardPlaces::turn(int place) const
{
    const ImageArray* backs = table_.backs(game_.model().ncarte);
    ImageControl* back = backs ? backs->element(card(place)) : nullptr;
    if (back == nullptr)
        return false;
    // An accepted click makes the card the move's first or second.
    const TableModel& m = game_.model();
    const auto move = std::pair{m.prima, m.seconda};
    back->click();
    return std::pair{m.prima, m.seconda} != move;
}

QString CardPlaces::refusal(int place) const
{
    const TableModel& m = game_.model();
    if (m.prima * m.seconda != 0)
        return QStringLiteral("wait: two cards up");
    return state(place) == CardState::Found ? QStringLiteral("already found") : QStringLiteral("already up");
}

}  // namespace pairly
