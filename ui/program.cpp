// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "resources/picture_set.h"
#include "sound/audio_backend.h"
#include "ui/common/screen_fit.h"
#include "ui/game/form1.h"
#include "ui/start/frmmain.h"

#include <QTimer>

namespace pairly {

Program::Program(AudioFactory makeAudio) : makeAudio_(std::move(makeAudio)), start_(std::make_unique<frmmain>(*this))
{
    QObject::connect(start_.get(), &frmmain::firstPainted, start_.get(), [this] { prepareGame(); });
}

// The game window goes first: its devices close before the sound output.
Program::~Program()
{
    game_.reset();
    start_.reset();
}

void Program::prepareGame()
{
    audio();
    pictures_ = std::async(std::launch::async, [] { PictureSet::embedded().decodeAll(); });
    // A turn of the event loop later, so that what is waiting is handled first.
    QTimer::singleShot(0, start_.get(), [this] { buildGameWindow(); });
}

void Program::buildGameWindow()
{
    if (game_)
        return;
    game_ = std::make_unique<Form1>(audio(), *this);
    // The native window too: showing it is then all "Play" leaves to do.
    game_->winId();
}

Form1* Program::gameWindow()
{
    return game_ && game_->isLoaded() ? game_.get() : nullptr;
}

const std::shared_ptr<AudioBackend>& Program::audio()
{
    if (!audio_)
        audio_ = makeAudio_();
    return audio_;
}

void Program::start()
{
    start_->start();
}

// The window being left is hidden before the other is shown: nothing then
// depends on the platform raising a window, and a tiling window manager
// gives the one shown the whole screen.
void Program::showStartWindow()
{
    if (game_)
        handOver(*game_, *start_);
    start_->showInFront();
}

QString Program::versionText() const
{
    return start_->versionText();
}

void Program::unloadStartWindow()
{
    start_->unload();
}

void Program::showGameWindow()
{
    buildGameWindow();
    handOver(*start_, *game_);
    game_->showFromStartWindow();
}

void Program::unloadGameWindow()
{
    if (Form1* game = gameWindow())
        game->unload();
}

}  // namespace pairly
