// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_places.h"

#include "card_table.h"

#include "engine/card_state.h"
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

QString CardPlaces::name(int place) const
{
    const int cols = std::max(columns(), 1);
    return QStringLiteral("row %1, column %2").arg(place / cols + 1).arg(place % cols + 1);
}

QString CardPlaces::description(int place) const
{
    const int16_t c = card(place);
    switch (cardState(game_.model(), table_, c)) {
    case CardState::FaceDown:
        break;
    case CardState::Up:
        return table_.faceName(c);
    case CardState::Found:
        return QStringLiteral("found");
    }
    return QStringLiteral("face down");
}

void CardPlaces::turn(int place) const
{
    const ImageArray* backs = table_.backs(game_.model().ncarte);
    if (ImageControl* back = backs ? backs->element(card(place)) : nullptr)
        back->click();
}

}  // namespace pairly
