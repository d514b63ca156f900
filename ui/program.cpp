#include "program.h"

#include "sound/audio_backend.h"
#include "ui/game/form1.h"
#include "ui/start/frmmain.h"

namespace pairly {

Program::Program(std::shared_ptr<AudioBackend> audio)
    : audio_(std::move(audio)), start_(std::make_unique<frmmain>(*this))
{
}

// The game window goes first: its devices close before the sound output.
Program::~Program()
{
    game_.reset();
    start_.reset();
}

void Program::start()
{
    start_->start();
}

void Program::showStartWindow()
{
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
    if (!game_)
        game_ = std::make_unique<Form1>(audio_, *this);
    game_->expectReturn();
    game_->showFromStartWindow();
}

void Program::unloadGameWindow()
{
    if (game_)
        game_->unload();
}

void Program::startWindowActivated()
{
    if (game_)
        game_->expectReturn();
}

}  // namespace pairly
