// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;

namespace pairly {

class MediaDevice;

// The rustle of a turned card on the effect device MMCw. The "card rustle"
// item's check mark is the only record of whether it is on.
class CardRustle {
public:
    // Makes MMCw a "WaveAudio" device, as the window's design has it.
    CardRustle(MediaDevice& MMCw, QAction* cards);

    // The window's load: opens "\carta.wav" and switches the rustle on.
    void startUp();

    // The "card rustle" item: switches off (close) or on (Open again).
    void cards_Click();
    // An accepted card turn: rustles from the beginning when switched on.
    void playOnCardTurn();

    bool isOn() const;

private:
    MediaDevice& MMCw_;
    QAction* cards_;
};

}  // namespace pairly
