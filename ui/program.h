// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/common/window_links.h"

#include <functional>
#include <future>
#include <memory>

namespace pairly {

class AudioBackend;
class Form1;
class frmmain;

// Holds the program's two windows and the sound output they share, and lets
// each window reach the other. The start window comes up first and alone;
// once it has been painted, the game is prepared while the player looks at
// it: the sound output opens and the pictures decode in the background, and
// the game window is built, hidden and not yet loaded, so that "Play" only
// has to load and show it.
class Program final : public StartWindowLink, public GameWindowLink {
public:
    using AudioFactory = std::function<std::shared_ptr<AudioBackend>()>;

    explicit Program(AudioFactory makeAudio);
    ~Program() override;

    // Loads and shows the start window.
    void start();

    frmmain& startWindow() { return *start_; }
    // Nullptr until the first "Play" has loaded it.
    Form1* gameWindow();

    void showStartWindow() override;
    QString versionText() const override;
    void unloadStartWindow() override;

    void showGameWindow() override;
    void unloadGameWindow() override;

private:
    void prepareGame();
    void buildGameWindow();
    const std::shared_ptr<AudioBackend>& audio();

    AudioFactory makeAudio_;
    std::shared_ptr<AudioBackend> audio_;
    std::future<void> pictures_;
    std::unique_ptr<frmmain> start_;
    std::unique_ptr<Form1> game_;
};

}  // namespace pairly
