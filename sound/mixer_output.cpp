// SPDX-License-Identifier: GPL-3.0-or-later
#include "mixer_output.h"

#include "sound_log.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <utility>

namespace pairly {

MixerOutput::MixerOutput(std::function<void()> lost) : lost_(std::move(lost))
{
    // SDL would otherwise swallow SIGTERM and SIGINT meant for the program.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
}

MixerOutput::~MixerOutput()
{
    // The driver hint needs no reset: each start of SDL's audio sets it first.
    reset();
}

bool MixerOutput::deviceWanted()
{
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER").trimmed().toLower();
    return driver != "dummy" && driver != "disk";
}

bool MixerOutput::open(bool standInOnly)
{
    if (open_)
        return true;
    if (!standInOnly && openOn(false))
        return true;
    reset();
    return openOn(true);
}

bool MixerOutput::openOn(bool standIn)
{
    if (standIn != standIn_ && SDL_WasInit(SDL_INIT_AUDIO))
        reset();
    standIn_ = standIn;
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (standIn)
            SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        else
            SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            qCWarning(lcSound) << "SDL audio init failed:" << SDL_GetError();
            return false;
        }
        // Audio brings SDL's event queue, which nobody reads here: the filter
        // sees what is pushed and keeps nothing.
        SDL_SetEventFilter(&MixerOutput::watchEvents, this);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    // A sound server that lists no output is not ready (PipeWire before its
    // session manager): SDL's pipewire driver would wait for its stream to be
    // linked, and the song would stand still; on the stand-in it goes on.
    if (!standIn && SDL_GetNumAudioDevices(0) == 0) {
        qCWarning(lcSound) << "no audio output on driver" << SDL_GetCurrentAudioDriver();
        return false;
    }
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kChunkFrames, nullptr, 0) != 0) {
        qCWarning(lcSound) << "Mix_OpenAudio failed:" << Mix_GetError();
        return false;
    }
    open_ = true;
    qCInfo(lcSound) << "audio on driver" << driverName() << "at" << kFrequency << "Hz";
    return true;
}

void MixerOutput::close()
{
    if (!open_)
        return;
    open_ = false;
    Mix_HookMusic(nullptr, nullptr);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    qCInfo(lcSound) << "audio output closed";
}

void MixerOutput::reset()
{
    close();
    if (SDL_WasInit(SDL_INIT_AUDIO))
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

QString MixerOutput::driverName() const
{
    const char* name = open_ ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

void MixerOutput::stopReporting()
{
    std::lock_guard lock(lostMutex_);
    lost_ = nullptr;
}

int MixerOutput::watchEvents(void* self, SDL_Event* event)
{
    auto* output = static_cast<MixerOutput*>(self);
    if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture) {
        std::lock_guard lock(output->lostMutex_);
        if (output->lost_)
            output->lost_();
    }
    return 0;
}

}  // namespace pairly
