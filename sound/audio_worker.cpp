// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_worker.h"

#include <QMetaObject>
#include <QObject>

#include <SDL.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace pairly {

// What the thread shares with the worker; the thread keeps it alive when it
// outlives the worker.
struct AudioWorker::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    // The results of the jobs finished whose `done` has not run yet.
    std::deque<bool> results;
    // Where results are handed back; none once the worker is finishing.
    AudioWorker* owner = nullptr;
    QObject* context = nullptr;
    bool running = false;
    bool stopping = false;
    bool ended = false;
};

AudioWorker::AudioWorker(QObject& context) : context_(context), shared_(std::make_shared<Shared>()) {}

void AudioWorker::run(Job job, Done done)
{
    dones_.push_back(std::move(done));
    lastHandedOver_ = std::chrono::steady_clock::now();
    std::lock_guard lock(shared_->mutex);
    shared_->jobs.push_back(std::move(job));
    shared_->changed.notify_all();
    if (std::exchange(shared_->running, true))
        return;
    shared_->owner = this;
    shared_->context = &context_;
    std::thread([shared = shared_] {
        std::unique_lock lock(shared->mutex);
        for (;;) {
            shared->changed.wait(lock, [&] { return !shared->jobs.empty() || shared->stopping; });
            if (shared->jobs.empty())
                break;
            const Job job = std::move(shared->jobs.front());
            shared->jobs.pop_front();
            lock.unlock();
            const bool result = job();
            lock.lock();
            shared->results.push_back(result);
            shared->changed.notify_all();
            if (shared->owner)
                QMetaObject::invokeMethod(shared->context, [shared] {
                    // Here, on the context's thread, finish() alone clears it.
                    if (shared->owner)
                        shared->owner->handBack();
                }, Qt::QueuedConnection);
        }
        shared->ended = true;
        shared->changed.notify_all();
        lock.unlock();
        // SDL frees what it keeps per thread (its error text) only for
        // threads of its own.
        SDL_TLSCleanup();
    }).detach();
}

void AudioWorker::wait(std::chrono::milliseconds limit)
{
    // An opening through a server that answers takes a few milliseconds, and
    // is waited for awake: a thread woken from sleep comes after SDL's audio
    // thread, which the opening starts, has sent its first buffer, and the
    // first sound waits for the next one (23 ms).
    constexpr std::chrono::milliseconds kAwake(10);
    const auto until = lastHandedOver_ + limit;
    const auto awakeUntil = std::min(until, lastHandedOver_ + kAwake);
    const auto finished = [&] { return shared_->results.size() == dones_.size(); };
    {
        std::unique_lock lock(shared_->mutex);
        while (!finished() && std::chrono::steady_clock::now() < awakeUntil) {
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
        }
        shared_->changed.wait_until(lock, until, finished);
    }
    handBack();
}

void AudioWorker::handBack()
{
    while (!dones_.empty()) {
        bool result = false;
        {
            std::lock_guard lock(shared_->mutex);
            if (shared_->results.empty())
                return;
            result = shared_->results.front();
            shared_->results.pop_front();
        }
        // A `done` may hand over the next job.
        const Done done = std::move(dones_.front());
        dones_.pop_front();
        if (done)
            done(result);
    }
}

bool AudioWorker::finish(std::function<void()> last, std::chrono::milliseconds limit)
{
    dones_.clear();
    std::unique_lock lock(shared_->mutex);
    if (!shared_->running)
        return true;
    shared_->owner = nullptr;
    if (last)
        shared_->jobs.push_back([last = std::move(last)] {
            last();
            return true;
        });
    shared_->stopping = true;
    shared_->changed.notify_all();
    return shared_->changed.wait_for(lock, limit, [&] { return shared_->ended; });
}

}  // namespace pairly
