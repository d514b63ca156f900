// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <mutex>

union SDL_Event;

namespace pairly {

// SDL2_mixer's output device, opened when there is something to play and
// closed when there is not: an open device wakes the processor for every
// buffer, even to play silence. It opens the sound device (or whatever
// SDL_AUDIODRIVER names) and falls back on SDL's "dummy" driver, the stand-in,
// which plays nothing but keeps time, so that songs still end and advance.
// Always 44.1 kHz, 16-bit stereo: SDL converts for the device, so sounds
// loaded once stay valid across reopenings.
//
// One per process: SDL's audio state is global. Used from one thread at a
// time; `lost` is called on SDL's audio thread when the open device goes away
// (its server stopped, it was unplugged); SDL then keeps calling the mixer at
// the device's pace, in silence, until the output is closed. A closed mixer
// keeps no hooks: whoever set them may go while a driver still holds an
// opening.
class MixerOutput {
public:
    static constexpr int kFrequency = 44100;
    static constexpr int kChannels = 2;
    // 23 ms a buffer. The buffer's length trades the rustle's promptness
    // against the wake-ups of a playing song: a sound server asks for data
    // about four times a buffer, and each request wakes SDL's audio thread.
    // With 1024 frames a rustle reaches PulseAudio within 40 ms of its click,
    // at 170 wake-ups a second while music plays; 512 frames double the
    // wake-ups, 2048 take the rustle past 50 ms.
    static constexpr int kChunkFrames = 1024;

    explicit MixerOutput(std::function<void()> lost);
    MixerOutput(const MixerOutput&) = delete;
    MixerOutput& operator=(const MixerOutput&) = delete;
    ~MixerOutput();

    // Opens the mixer on the device unless `standInOnly`, failing that on the
    // stand-in. False when not even that opens.
    bool open(bool standInOnly = false);
    void close();
    // Closes and lets SDL forget its audio drivers, so that the next open
    // looks for the device afresh (after a sound server restarted).
    void reset();

    // No `lost` any more, from any thread: its owner is going.
    void stopReporting();

    bool isOpen() const { return open_; }
    // The last opening fell back on the stand-in although a device is wanted.
    bool onStandIn() const { return standIn_ && deviceWanted(); }
    // SDL_AUDIODRIVER names no driver that only stands in ("dummy", "disk").
    static bool deviceWanted();
    // SDL's audio driver in use ("pulseaudio", "disk", "dummy", ...).
    QString driverName() const;

private:
    bool openOn(bool standIn);
    static int watchEvents(void* self, SDL_Event* event);

    std::mutex lostMutex_;
    std::function<void()> lost_;
    bool open_ = false;
    bool standIn_ = false;
};

}  // namespace pairly
