// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <coroutine>
#include <exception>
#include <utility>

namespace pairly {

// Owner of one run of the game loop. The loop starts suspended; destroying
// the owner destroys the frame wherever the loop waits, which is how a new
// game retires the old loop for good.
class GameLoopTask {
public:
    struct promise_type {
        GameLoopTask get_return_object() { return GameLoopTask{Handle::from_promise(*this)}; }
        std::suspend_always initial_suspend() noexcept { return {}; }
        std::suspend_always final_suspend() noexcept { return {}; }
        void return_void() noexcept {}
        void unhandled_exception() noexcept { std::terminate(); }
    };
    using Handle = std::coroutine_handle<promise_type>;

    GameLoopTask() = default;
    GameLoopTask(GameLoopTask&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    GameLoopTask& operator=(GameLoopTask&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    GameLoopTask(const GameLoopTask&) = delete;
    GameLoopTask& operator=(const GameLoopTask&) = delete;
    ~GameLoopTask() { reset(); }

    bool alive() const { return handle_ && !handle_.done(); }
    void resume()
    {
        if (alive())
            handle_.resume();
    }
    void reset()
    {
        if (handle_)
            std::exchange(handle_, {}).destroy();
    }

private:
    explicit GameLoopTask(Handle h) : handle_(h) {}
    Handle handle_{};
};

}  // namespace pairly
