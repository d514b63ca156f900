// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/random_source.h"
#include "engine/scheduler.h"
#include "engine/table.h"

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <vector>

namespace pairly::testing {

// Records what the game does to the table; pictures are the addresses of
// 40 distinct tokens, so identity is the only thing that can match. Like the
// window, it ignores operations on elements that do not exist.
class FakeTable final : public Table {
public:
    struct Element {
        const void* picture = nullptr;  // faces only
        CellRect rect{};
        bool visible = false;
    };

    // Like the window's arrays, each has its element 0: a visible face with no
    // picture and a hidden model back, never part of the table.
    FakeTable()
    {
        faces[0] = Element{.visible = true};
        for (int16_t size : {20, 48, 80})
            for (int16_t c = 0; c <= size; ++c)
                backs[{size, c}] = Element{};
    }

    bool createFace(int16_t c) override { return faces.try_emplace(c).second; }
    void setFaceFromPic(int16_t c, int16_t pic) override
    {
        if (Element* f = face(c); f && pic >= 1 && pic <= 40)
            f->picture = &tokens_[size_t(pic)];
    }
    void setFaceFromFace(int16_t c, int16_t other) override
    {
        if (Element* f = face(c); f && face(other))
            f->picture = face(other)->picture;
    }
    const void* facePicture(int16_t c) const override { return face(c) ? face(c)->picture : nullptr; }
    void moveFace(int16_t c, CellRect r) override { if (Element* f = face(c)) f->rect = r; }
    void setFaceVisible(int16_t c, bool visible) override { if (Element* f = face(c)) f->visible = visible; }
    bool faceVisible(int16_t c) const override { return face(c) && face(c)->visible; }
    void moveBack(int16_t size, int16_t c, CellRect r) override { if (Element* b = back(size, c)) b->rect = r; }
    void setBackVisible(int16_t size, int16_t c, bool visible) override
    {
        if (Element* b = back(size, c))
            b->visible = visible;
    }
    bool backVisible(int16_t size, int16_t c) const override { return back(size, c) && back(size, c)->visible; }
    void hidePanels() override { ++panelsHidden; }
    void showStartWindow() override { ++startWindowShown; }
    bool rustleOn() const override { return rustle; }
    void playRustle() override { ++rustles; }

    // Which Pic(k) card c shows, 0 for none.
    int picIndexOf(int16_t c) const
    {
        for (int k = 1; k <= 40; ++k)
            if (facePicture(c) == &tokens_[size_t(k)])
                return k;
        return 0;
    }
    bool covered(int16_t size, int16_t c) const { return !faceVisible(c) && backVisible(size, c); }
    bool uncovered(int16_t size, int16_t c) const { return faceVisible(c) && !backVisible(size, c); }

    std::map<int16_t, Element> faces;
    std::map<std::pair<int16_t, int16_t>, Element> backs;  // (size, c), created like the window does
    int panelsHidden = 0;
    int startWindowShown = 0;
    bool rustle = true;
    int rustles = 0;

private:
    Element* face(int16_t c) const
    {
        auto it = faces.find(c);
        return it == faces.end() ? nullptr : const_cast<Element*>(&it->second);
    }
    Element* back(int16_t size, int16_t c) const
    {
        auto it = backs.find({size, c});
        return it == backs.end() ? nullptr : const_cast<Element*>(&it->second);
    }

    std::vector<int> tokens_ = std::vector<int>(41, 0);  // Pic(1..40) picture objects
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

// Returns a fixed sequence, then repeats its last value (0 when empty).
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values = {}) : values_(std::move(values)) {}
    void reseedFromTimeOfDay() override { ++reseeds; }
    float next() override
    {
        ++draws;
        return values_.empty() ? 0.0f : values_[std::min(size_t(draws - 1), values_.size() - 1)];
    }

    int reseeds = 0;
    int draws = 0;

private:
    std::vector<float> values_;
};

// A seeded Mersenne twister that ignores reseeding, so that runs repeat.
class MtRandom final : public RandomSource {
public:
    explicit MtRandom(uint32_t seed = 7) : gen_(seed) {}
    void reseedFromTimeOfDay() override {}
    float next() override { return std::uniform_real_distribution<float>(0.0f, 1.0f)(gen_); }

private:
    std::mt19937 gen_;
};

}  // namespace pairly::testing
