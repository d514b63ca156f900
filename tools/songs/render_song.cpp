// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a song to a WAV file through the same SDL2_mixer and FluidSynth
// path as the game, so the generated songs can be measured and looked at:
//     render_song song.mid out.wav [soundfont]
#include "sound/midi_duration.h"

#include <QFile>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s song.mid out.wav [soundfont]\n", argv[0]);
        return 2;
    }
    const std::string raw = std::string(argv[2]) + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 0);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Mix_SetSoundFonts(argc > 3 ? argv[3] : "/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (SDL_Init(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024) != 0) {
        std::fprintf(stderr, "audio: %s\n", SDL_GetError());
        return 1;
    }
    Mix_Music* music = Mix_LoadMUS(argv[1]);
    if (!music || Mix_PlayMusic(music, 0) != 0) {
        std::fprintf(stderr, "song: %s\n", Mix_GetError());
        return 1;
    }
    while (Mix_PlayingMusic())
        SDL_Delay(5);
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    SDL_Quit();
    // sox turns the raw S16LE stereo stream into a WAV file. Rendering faster
    // than real time, FluidSynth's start and end (timed on the wall clock)
    // leave many seconds of silence around the song: drop the leading silence
    // and keep the song and 2.5 s of its last notes.
    QFile song(QString::fromLocal8Bit(argv[1]));
    const auto seconds = song.open(QIODevice::ReadOnly) ? pairly::midiDuration(song.readAll()) : std::nullopt;
    const std::string trim = seconds ? " silence 1 0.001 0.01% trim 0 " + std::to_string(*seconds + 2.5) : "";
    const std::string command = "sox -t raw -r 44100 -e signed -b 16 -c 2 '" + raw + "' '" + argv[2] + "'" + trim +
                                " && rm '" + raw + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}
