// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace pairly {

// The General-MIDI SoundFont the songs play through: SDL_SOUNDFONTS when it
// is set (its first entry, whether or not it exists, so that a wrong setting
// is heard as silence and logged), otherwise the first of Debian's that is
// installed: the system's chosen default, TimGM6mb, FluidR3. Empty when none
// is. `environment` is the value of SDL_SOUNDFONTS; `exists` tells whether a
// file is there.
QString findSoundFont(const QString& environment, const std::function<bool(const QString&)>& exists);

// The same for this process: its environment and its file system.
QString soundFontPath();

}  // namespace pairly
