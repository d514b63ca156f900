// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pairly {

// The game's view of the event loop it runs on. The game never blocks: it
// asks for a pass after the pending events have been delivered, and for ticks
// of its pause timer Timer1, which the host turns into Game::Timer1_Timer.
class Scheduler {
public:
    virtual ~Scheduler() = default;

    // Run Game::runPass once the events queued so far have been delivered.
    // Several requests before that pass may collapse into one.
    virtual void requestPass() = 0;

    // Timer1: periodic ticks every intervalMs while enabled.
    virtual void startTimer1(int intervalMs) = 0;
    virtual void stopTimer1() = 0;
};

}  // namespace pairly
