// SPDX-License-Identifier: GPL-3.0-or-later
#include "event_loop_scheduler.h"

namespace pairly {

EventLoopScheduler::EventLoopScheduler(QObject* parent) : QObject(parent)
{
    // The pauses are 1000 and 1500 ms; a coarse timer could be 5 % off.
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, [this] {
        if (tick_)
            tick_();
    });
}

void EventLoopScheduler::setHandlers(std::function<void()> pass, std::function<void()> tick)
{
    pass_ = std::move(pass);
    tick_ = std::move(tick);
}

void EventLoopScheduler::requestPass()
{
    QMetaObject::invokeMethod(this, [this] {
        if (pass_)
            pass_();
    }, Qt::QueuedConnection);
}

void EventLoopScheduler::startTimer1(int intervalMs)
{
    timer1_.setInterval(intervalMs);
    timer1_.start();
}

void EventLoopScheduler::stopTimer1()
{
    timer1_.stop();
}

}  // namespace pairly
