// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio_backend.h"

#include <QString>

#include <memory>
#include <thread>

namespace pairly {

// The sound output, loaded from the module beside the program on a thread of
// its own, so that neither its libraries nor the opening of the audio device
// hold up the windows. The first open() waits for it. Without the module the
// program runs silent: every open fails, as for a missing file.
class ModuleAudioBackend final : public AudioBackend {
public:
    // The module's file name, beside the program.
    static constexpr char kModuleName[] = "libpairly_audio.so";

    explicit ModuleAudioBackend(const QString& modulePath);
    ModuleAudioBackend(const ModuleAudioBackend&) = delete;
    ModuleAudioBackend& operator=(const ModuleAudioBackend&) = delete;
    ~ModuleAudioBackend() override;

    std::unique_ptr<AudioStream> open(StreamKind kind, const QString& path) override;

    // Whether the module was found and made its backend (waits for it).
    bool loaded();

private:
    void waitLoaded();

    std::unique_ptr<AudioBackend> backend_;
    std::thread loader_;
};

// The program's sound output: the module beside the program.
std::shared_ptr<AudioBackend> makeSoundOutput();

}  // namespace pairly
