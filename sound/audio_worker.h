// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>

class QObject;

namespace pairly {

// Runs the openings and closings of SDL's audio device, one at a time and in
// order, on a thread of its own. SDL's drivers wait without end inside an
// opening for a server that accepts a client but never readies its stream
// (PipeWire without its session manager, a server that hangs): that thread is
// held then, and not the caller's. Each job's result is handed back on the
// thread of `context`, the caller's; until it is, SDL's audio state is the
// worker's and the caller leaves it alone.
//
// Used from the context's thread. The thread starts with the first job and
// sleeps while there is none.
class AudioWorker {
public:
    using Job = std::function<bool()>;
    using Done = std::function<void(bool)>;

    explicit AudioWorker(QObject& context);
    AudioWorker(const AudioWorker&) = delete;
    AudioWorker& operator=(const AudioWorker&) = delete;
    ~AudioWorker() { finish({}, std::chrono::milliseconds(0)); }

    // Hands `job` over; `done` runs with its result on the context's thread,
    // from the event loop or within wait().
    void run(Job job, Done done);
    // Whether a job has been handed over whose `done` has not run yet.
    bool busy() const { return !dones_.empty(); }
    // Waits for the jobs handed over, but no longer than `limit` after the
    // last one was, and runs the `done` of those that have finished.
    void wait(std::chrono::milliseconds limit);
    // Runs `last` after the jobs handed over and ends the thread; no `done`
    // runs any more. Waits up to `limit` for that and says whether the thread
    // has ended: one held inside a driver is left to end on its own, when the
    // driver lets it go or with the process.
    bool finish(std::function<void()> last, std::chrono::milliseconds limit);

private:
    struct Shared;
    void handBack();

    QObject& context_;
    std::shared_ptr<Shared> shared_;
    std::deque<Done> dones_;
    std::chrono::steady_clock::time_point lastHandedOver_;
};

}  // namespace pairly
