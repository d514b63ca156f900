// SPDX-License-Identifier: GPL-3.0-or-later
#include "card_rustle.h"

#include "media_device.h"
#include "resources/program_folder.h"

#include <QAction>

namespace pairly {

CardRustle::CardRustle(MediaDevice& MMCw, QAction* cards) : MMCw_(MMCw), cards_(cards)
{
    MMCw_.setDeviceType(QStringLiteral("WaveAudio"));
    cards_->setCheckable(true);
}

void CardRustle::startUp()
{
    MMCw_.setWait(true);
    MMCw_.setUpdateInterval(0);
    MMCw_.setCommand(QStringLiteral("Close"));
    MMCw_.setFileName(besideProgram(QStringLiteral("\\carta.wav")));
    MMCw_.setCommand(QStringLiteral("Open"));
    cards_->setChecked(true);
}

void CardRustle::cards_Click()
{
    if (cards_->isChecked()) {
        cards_->setChecked(false);
        MMCw_.setCommand(QStringLiteral("close"));
    } else {
        cards_->setChecked(true);
        MMCw_.setCommand(QStringLiteral("Open"));
    }
}

void CardRustle::playOnCardTurn()
{
    if (!isOn())
        return;
    MMCw_.setCommand(QStringLiteral("Play"));
    MMCw_.setFrom(0);
}

bool CardRustle::isOn() const
{
    return cards_->isChecked();
}

}  // namespace pairly
