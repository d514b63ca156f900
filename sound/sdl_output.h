// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <SDL_audio.h>

#include <array>
#include <cstdint>
#include <functional>

union SDL_Event;

namespace pairly {

// The process's two SDL audio devices, 44.1 kHz 16-bit stereo, each opened
// when it has something to play and closed when not (an open device wakes the
// processor for every buffer, even to play silence):
// - the music line, with long buffers: a song needs no promptness, and every
//   buffer costs the sound server and this process a round of wake-ups;
// - the effects line, with short ones, so that a rustle is heard at once.
// Both play on the sound device (or whatever SDL_AUDIODRIVER names), or, when
// it cannot be opened, on SDL's "dummy" driver, the stand-in, which plays
// nothing but keeps time, so that songs still end and advance.
//
// One per process: SDL's audio state is global. Used from one thread at a
// time. `render` is called on SDL's audio threads to fill a line's buffer;
// `lost` when an open device goes away (its server stopped, it was
// unplugged): SDL then keeps calling `render` at the device's pace, in
// silence, until the line is closed.
class SdlOutput {
public:
    enum Line { Music, Effects };
    static constexpr int kFrequency = 44100;
    static constexpr int kChannels = 2;
    // 46 ms: the next song still follows well within half a second.
    static constexpr int kMusicFrames = 2048;
    // 11.6 ms: a rustle reaches the speaker well inside 50 ms.
    static constexpr int kEffectFrames = 512;

    using Render = std::function<void(Line line, int16_t* frames, int count)>;
    SdlOutput(Render render, std::function<void()> lost);
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;
    ~SdlOutput();

    // Starts SDL's audio on the device, failing that on the stand-in, so that
    // opening a line later is quick. False when neither starts.
    bool prepare();
    // Opens a line on the driver in use; the first opens the device unless
    // `standInOnly`, failing that the stand-in. False when not even that
    // opens.
    bool open(Line line, bool standInOnly = false);
    void close(Line line);
    // Closes the open lines and opens them again on a freshly started driver:
    // the device (after a sound server came back), failing that the stand-in.
    bool restart();
    void shutDown();

    bool isOpen(Line line) const { return devices_[line] != 0; }
    bool anyOpen() const { return isOpen(Music) || isOpen(Effects); }
    // Running on the stand-in although a device is wanted.
    bool onStandIn() const { return started_ && standIn_ && deviceWanted(); }
    // SDL_AUDIODRIVER names no driver that only stands in ("dummy", "disk").
    static bool deviceWanted();
    // SDL's audio driver in use ("pulseaudio", "disk", "dummy", ...), empty
    // while no line is open.
    QString driverName() const;

private:
    struct Callback {
        SdlOutput* owner;
        Line line;
    };

    bool start(bool standIn);
    void stop();
    bool openDevice(Line line);
    static void fill(void* callback, uint8_t* stream, int length);
    static int watchEvents(void* self, SDL_Event* event);

    Render render_;
    std::function<void()> lost_;
    bool started_ = false;
    bool standIn_ = false;
    std::array<SDL_AudioDeviceID, 2> devices_{};
    std::array<Callback, 2> callbacks_;
};

}  // namespace pairly
