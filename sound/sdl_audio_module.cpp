#include "sdl_audio_backend.h"

// The module's one entry point; the caller owns the result.
extern "C" Q_DECL_EXPORT pairly::AudioBackend* pairly_make_audio_backend()
{
    return std::make_unique<pairly::SdlAudioBackend>().release();
}
