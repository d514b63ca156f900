// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave_file.h"

#include "sdl_output.h"
#include "sound_log.h"

#include <QFile>

#include <SDL.h>

#include <cstring>

namespace pairly {

std::optional<std::vector<int16_t>> loadWave(const QString& path)
{
    SDL_AudioSpec spec{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(QFile::encodeName(path).constData(), &spec, &data, &length)) {
        qCWarning(lcSound) << "cannot load sound" << path << ":" << SDL_GetError();
        return std::nullopt;
    }
    SDL_AudioCVT convert{};
    if (SDL_BuildAudioCVT(&convert, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, SdlOutput::kChannels,
                          SdlOutput::kFrequency) < 0) {
        qCWarning(lcSound) << "cannot convert sound" << path << ":" << SDL_GetError();
        SDL_FreeWAV(data);
        return std::nullopt;
    }
    std::vector<uint8_t> buffer(size_t(length) * size_t(std::max(1, convert.len_mult)));
    std::memcpy(buffer.data(), data, length);
    SDL_FreeWAV(data);
    convert.buf = buffer.data();
    convert.len = int(length);
    if (convert.needed && SDL_ConvertAudio(&convert) != 0) {
        qCWarning(lcSound) << "cannot convert sound" << path << ":" << SDL_GetError();
        return std::nullopt;
    }
    const size_t bytes = convert.needed ? size_t(convert.len_cvt) : length;
    std::vector<int16_t> frames(bytes / sizeof(int16_t) / SdlOutput::kChannels * SdlOutput::kChannels);
    std::memcpy(frames.data(), buffer.data(), frames.size() * sizeof(int16_t));
    return frames;
}

}  // namespace pairly
