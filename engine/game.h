// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game_loop_task.h"
#include "table_model.h"

#include <coroutine>
#include <cstdint>

namespace pairly {

class Table;
class Scheduler;
class RandomSource;

// The rules of one game on the table model: set-up, the game loop, the card
// clicks, the pair check and the pauses. It talks to the window only through
// Table and to time only through Scheduler, so every rule runs headless.
//
// The loop is a coroutine. Its waiting point and its pauses suspend it until
// a handler has changed what it waits for; the handler wakes it through a
// requested pass. A waiting game therefore costs nothing, and Main() destroys
// the running loop before it starts the next one.
class Game {
public:
    Game(Table& table, Scheduler& scheduler, RandomSource& random);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game();

    TableModel& model() { return m_; }
    const TableModel& model() const { return m_; }

    // Sets the table size; Main() deals it.
    void setSize(int16_t ncarte, int16_t righe);

    // Starts a new game of the current size, retiring the running loop.
    void Main();

    // Handlers fed by the window.
    void dorsoClick(int16_t size, int16_t index);
    void Timer1_Timer();
    // The exit control's part in the table model: stato 4, move cleared.
    void requestLeaveTable();
    // Hides Img(1..80), passing over faces that do not exist.
    void hideAllFaces();

    // Runs the loop's next pass if what it waits for has happened.
    void runPass();

    // Introspection for tests and soak checks.
    bool loopAlive() const { return loop_.alive(); }
    bool pausing() const { return waiting_ == Wait::Tick; }
    // A handler woke the loop and its pass has not run yet.
    bool passPending() const { return passRequested_; }
    uint64_t gamesStarted() const { return gamesStarted_; }

private:
    enum class Wait { None, Event, Tick };

    struct Suspend {
        Game& game;
        Wait what;
        bool await_ready() const noexcept { return game.satisfied(what); }
        void await_suspend(std::coroutine_handle<>) noexcept { game.waiting_ = what; }
        void await_resume() const noexcept { game.waiting_ = Wait::None; }
    };

    // A pause on Timer1 (ritardo); the timer is stopped when the pause ends
    // or when its loop is destroyed mid-pause.
    class Pause {
    public:
        Pause(Game& game, int16_t n);
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
        ~Pause();
        bool await_ready() const noexcept { return !active_ || game_.m_.scaduto; }
        void await_suspend(std::coroutine_handle<>) noexcept { game_.waiting_ = Wait::Tick; }
        void await_resume() noexcept { game_.waiting_ = Wait::None; }

    private:
        Game& game_;
        bool active_;
    };

    GameLoopTask loop();
    void setUp();
    Pause ritardo(int16_t n) { return Pause(*this, n); }
    Pause verifica();
    void uncover(int16_t c);
    void cover(int16_t c);
    void leaveTable();
    bool satisfied(Wait what) const;
    void wake();

    Table& table_;
    Scheduler& scheduler_;
    RandomSource& random_;
    TableModel m_;
    GameLoopTask loop_;
    Wait waiting_ = Wait::None;
    bool passRequested_ = false;
    bool resuming_ = false;
    bool restartRequested_ = false;
    uint64_t gamesStarted_ = 0;
};

}  // namespace pairly
