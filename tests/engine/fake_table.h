#pragma once

#include "engine/random_source.h"
#include "engine/scheduler.h"
#include "engine/table.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pairly::testing {

// Records what the game does to the table; pictures are the addresses of
// 40 distinct tokens, so identity is the only thing that can match.
class FakeTable final : public Table {
public:
    struct Face {
        const void* picture = nullptr;
        CellRect rect{};
        bool visible = false;
    };
    struct Back {
        CellRect rect{};
        bool visible = false;
    };

    FakeTable();

    bool createFace(int16_t c) override;
    void setFaceFromPic(int16_t c, int16_t pic) override;
    void setFaceFromFace(int16_t c, int16_t other) override;
    const void* facePicture(int16_t c) const override;
    void moveFace(int16_t c, CellRect r) override;
    void setFaceVisible(int16_t c, bool visible) override;
    bool faceVisible(int16_t c) const override;
    void moveBack(int16_t size, int16_t c, CellRect r) override;
    void setBackVisible(int16_t size, int16_t c, bool visible) override;
    bool backVisible(int16_t size, int16_t c) const override;
    void hidePanels() override { ++panelsHidden; }
    void showStartWindow() override { ++startWindowShown; }
    bool rustleOn() const override { return rustle; }
    void playRustle() override { ++rustles; }

    int picIndexOf(int16_t c) const;  // which Pic(k) card c shows, 0 for none
    bool covered(int16_t size, int16_t c) const;
    bool uncovered(int16_t size, int16_t c) const;

    std::map<int16_t, Face> faces;
    std::map<std::pair<int16_t, int16_t>, Back> backs;  // (size, c), created like the window does
    int createCalls = 0;
    int panelsHidden = 0;
    int startWindowShown = 0;
    bool rustle = true;
    int rustles = 0;

private:
    std::vector<int> tokens_;  // Pic(1..40) picture objects
};

// Runs requested passes and timer ticks only when the test says so.
class ManualScheduler final : public Scheduler {
public:
    void requestPass() override { ++passRequests; pending = true; }
    void startTimer1(int intervalMs) override { timerMs = intervalMs; }
    void stopTimer1() override { timerMs.reset(); }

    int passRequests = 0;
    bool pending = false;
    std::optional<int> timerMs;
};

// Returns a fixed sequence, then repeats its last value.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values = {}) : values_(std::move(values)) {}
    void reseedFromTimeOfDay() override { ++reseeds; }
    float next() override;

    int reseeds = 0;
    int draws = 0;

private:
    std::vector<float> values_;
};

}  // namespace pairly::testing
