// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pairly {

// How the game window reaches the start window, and back, without either
// owning the other: the program that holds both windows implements these.
class StartWindowLink {
public:
    virtual ~StartWindowLink() = default;
    // Shows the start window in front, not modal.
    virtual void showStartWindow() = 0;
    // The text of the start window's version box.
    virtual QString versionText() const = 0;
    virtual void unloadStartWindow() = 0;
};

class GameWindowLink {
public:
    virtual ~GameWindowLink() = default;
    // Shows the game window, loading it the first time, and activates it.
    virtual void showGameWindow() = 0;
    // Unloads the game window if it was ever loaded.
    virtual void unloadGameWindow() = 0;
    // The start window became the program's active window: the next
    // activation of the game window is a return to it.
    virtual void startWindowActivated() = 0;
};

}  // namespace pairly
