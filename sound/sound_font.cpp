// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound_font.h"

#include <QFileInfo>

namespace pairly {

QString findSoundFont(const QString& environment, const std::function<bool(const QString&)>& exists)
{
    // SDL_mixer, where the variable comes from, reads it as a list; the first
    // entry is the one.
    const QString first = environment.section(QLatin1Char(':'), 0, 0).section(QLatin1Char(';'), 0, 0);
    if (!first.isEmpty())
        return first;
    // default-GM.sf2 is the link Debian's alternatives system points at the
    // SoundFont the administrator prefers; the others are the packages
    // timgm6mb-soundfont and fluid-soundfont-gm.
    for (const char* name : {"default-GM.sf2", "TimGM6mb.sf2", "FluidR3_GM.sf2"}) {
        const QString path = QStringLiteral("/usr/share/sounds/sf2/") + QLatin1String(name);
        if (exists(path))
            return path;
    }
    return {};
}

QString soundFontPath()
{
    return findSoundFont(qEnvironmentVariable("SDL_SOUNDFONTS"),
                         [](const QString& path) { return QFileInfo(path).isFile(); });
}

}  // namespace pairly
