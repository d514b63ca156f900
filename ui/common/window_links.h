// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pairly {

// How the game window reaches the start window, and back, without either
// owning the other: the program that holds both windows implements these.
class StartWindowLink {
public:
    virtual ~StartWindowLink() = default;
    // Shows the start window in place of the game window, not modal.
    virtual void showStartWindow() = 0;
    // The text of the start window's version box.
    virtual QString versionText() const = 0;
    virtual void unloadStartWindow() = 0;
};

class GameWindowLink {
public:
    virtual ~GameWindowLink() = default;
    // Shows the game window in place of the start window, loading it the
    // first time, and activates it: a new game is dealt.
    virtual void showGameWindow() = 0;
    // Unloads the game window if it was ever loaded.
    virtual void unloadGameWindow() = 0;
};

}  // namespace pairly
