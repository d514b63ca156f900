// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/scheduler.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace pairly {

// Runs the game's passes and its pause timer on Qt's event loop. A pass is a
// queued call, so it runs after every event already queued has been
// delivered; between events nothing runs and a waiting game costs no CPU.
class EventLoopScheduler final : public QObject, public Scheduler {
    Q_OBJECT
public:
    explicit EventLoopScheduler(QObject* parent = nullptr);

    // What a pass and a tick of Timer1 run.
    void setHandlers(std::function<void()> pass, std::function<void()> tick);

    void requestPass() override;
    void startTimer1(int intervalMs) override;
    void stopTimer1() override;

    const QTimer& Timer1() const { return timer1_; }

private:
    QTimer timer1_;
    std::function<void()> pass_;
    std::function<void()> tick_;
};

}  // namespace pairly
