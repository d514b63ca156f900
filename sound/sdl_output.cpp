// SPDX-License-Identifier: GPL-3.0-or-later
#include "sdl_output.h"

#include "sound_log.h"

#include <SDL.h>

#include <cstring>
#include <utility>

namespace pairly {

SdlOutput::SdlOutput(Render render, std::function<void()> lost)
    : render_(std::move(render)), lost_(std::move(lost)), callbacks_{{{this, Music}, {this, Effects}}}
{
    // SDL would otherwise swallow SIGTERM and SIGINT meant for the program.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
}

SdlOutput::~SdlOutput()
{
    shutDown();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
}

bool SdlOutput::deviceWanted()
{
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER").trimmed().toLower();
    return driver != "dummy" && driver != "disk";
}

bool SdlOutput::start(bool standIn)
{
    stop();
    standIn_ = standIn;
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
    SDL_SetEventFilter(&SdlOutput::watchEvents, this);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    started_ = true;
    return true;
}

void SdlOutput::stop()
{
    close(Music);
    close(Effects);
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    started_ = false;
}

bool SdlOutput::openDevice(Line line)
{
    SDL_AudioSpec wanted{};
    wanted.freq = kFrequency;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = line == Music ? kMusicFrames : kEffectFrames;
    wanted.callback = &SdlOutput::fill;
    wanted.userdata = &callbacks_[line];
    // SDL converts for the device: the buffers are always in this format.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        qCWarning(lcSound) << "cannot open the audio device:" << SDL_GetError();
        return false;
    }
    devices_[line] = device;
    SDL_PauseAudioDevice(device, 0);
    qCInfo(lcSound) << "audio on driver" << driverName() << "at" << kFrequency << "Hz," << wanted.samples
                    << "frames a buffer";
    return true;
}

bool SdlOutput::prepare()
{
    if (started_)
        return true;
    // A driver can start without a device it can open (ALSA without a sound
    // card): one opening, here on the loader's thread, tells.
    if (start(false) && openDevice(Effects)) {
        close(Effects);
        return true;
    }
    return start(true);
}

bool SdlOutput::open(Line line, bool standInOnly)
{
    if (isOpen(line))
        return true;
    const Line other = line == Music ? Effects : Music;
    // Both lines share one driver: the one started serves while the other
    // line plays on it, or if it is the kind asked for.
    if (started_ && (isOpen(other) || standIn_ == standInOnly)) {
        if (openDevice(line))
            return true;
        if (standIn_)
            return false;
    } else if (!standInOnly && start(false) && openDevice(line)) {
        return true;
    }
    // The stand-in carries every line.
    const bool otherOpen = isOpen(other);
    if (!start(true))
        return false;
    if (otherOpen)
        openDevice(other);
    return openDevice(line);
}

void SdlOutput::close(Line line)
{
    if (!devices_[line])
        return;
    SDL_CloseAudioDevice(devices_[line]);
    devices_[line] = 0;
    qCInfo(lcSound) << (line == Music ? "music" : "effects") << "output closed";
}

bool SdlOutput::restart()
{
    const bool music = isOpen(Music), effects = isOpen(Effects);
    if (!start(false) || (music && !openDevice(Music)) || (effects && !openDevice(Effects))) {
        start(true);
        if (music)
            openDevice(Music);
        if (effects)
            openDevice(Effects);
    }
    return !onStandIn();
}

void SdlOutput::shutDown()
{
    stop();
}

QString SdlOutput::driverName() const
{
    const char* name = anyOpen() ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

void SdlOutput::fill(void* callback, uint8_t* stream, int length)
{
    const auto* c = static_cast<Callback*>(callback);
    std::memset(stream, 0, size_t(length));
    c->owner->render_(c->line, reinterpret_cast<int16_t*>(stream), length / (2 * kChannels));
}

int SdlOutput::watchEvents(void* self, SDL_Event* event)
{
    if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture)
        static_cast<SdlOutput*>(self)->lost_();
    return 0;
}

}  // namespace pairly
