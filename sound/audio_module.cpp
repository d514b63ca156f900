// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_module.h"

#include "resources/program_folder.h"
#include "sound_log.h"

#include <QLibrary>

namespace pairly {

ModuleAudioBackend::ModuleAudioBackend(const QString& modulePath)
    : loader_([this, modulePath] {
          // The library stays loaded for the life of the process: the
          // backend and the threads it starts run its code until exit.
          QLibrary module(modulePath);
          using Factory = AudioBackend* (*)();
          auto make = reinterpret_cast<Factory>(module.resolve("pairly_make_audio_backend"));
          if (!make) {
              qCWarning(lcSound) << "no sound output:" << module.errorString();
              return;
          }
          backend_.reset(make());
      })
{
}

ModuleAudioBackend::~ModuleAudioBackend()
{
    waitLoaded();
}

void ModuleAudioBackend::waitLoaded()
{
    if (loader_.joinable())
        loader_.join();
}

bool ModuleAudioBackend::loaded()
{
    waitLoaded();
    return backend_ != nullptr;
}

std::unique_ptr<AudioStream> ModuleAudioBackend::open(StreamKind kind, const QString& path)
{
    return loaded() ? backend_->open(kind, path) : nullptr;
}

std::shared_ptr<AudioBackend> makeSoundOutput()
{
    return std::make_shared<ModuleAudioBackend>(besideProgram(QLatin1Char('\\') + QLatin1String(ModuleAudioBackend::kModuleName)));
}

}  // namespace pairly
