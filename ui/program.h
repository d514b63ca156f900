#pragma once

#include "ui/common/window_links.h"

#include <memory>

namespace pairly {

class AudioBackend;
class Form1;
class frmmain;

// Holds the program's two windows and the sound output they share, and lets
// each window reach the other. The game window is created on the first
// "Play", so the start window comes up without waiting for it.
class Program final : public StartWindowLink, public GameWindowLink {
public:
    explicit Program(std::shared_ptr<AudioBackend> audio);
    ~Program() override;

    // Loads and shows the start window.
    void start();

    frmmain& startWindow() { return *start_; }
    // Nullptr until the first "Play".
    Form1* gameWindow() { return game_.get(); }

    void showStartWindow() override;
    QString versionText() const override;
    void unloadStartWindow() override;

    void showGameWindow() override;
    void unloadGameWindow() override;
    void startWindowActivated() override;

private:
    std::shared_ptr<AudioBackend> audio_;
    std::unique_ptr<frmmain> start_;
    std::unique_ptr<Form1> game_;
};

}  // namespace pairly
