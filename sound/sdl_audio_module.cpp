// SPDX-License-Identifier: GPL-3.0-or-later
#include "sdl_audio_backend.h"

#include <SDL.h>

// The module's one entry point; the caller owns the result. It is called on
// a loader thread of the program's, which SDL does not know: SDL frees the
// per-thread state it keeps (its error text) only for threads of its own.
extern "C" Q_DECL_EXPORT pairly::AudioBackend* pairly_make_audio_backend()
{
    auto backend = std::make_unique<pairly::SdlAudioBackend>();
    SDL_TLSCleanup();
    return backend.release();
}
