// SPDX-License-Identifier: GPL-3.0-or-later
// Renders songs to a WAV file through the game's own synthesizer (SongSynth,
// with the SoundFont the game finds), so that the generated songs can be
// measured and listened to as the game plays them. Several songs follow one
// another as in sequential play, each starting the moment the one before has
// rung out; --from starts the first song part-way, to hear an ending quickly:
//     render_song [--from SECONDS] song.mid [next.mid ...] out.wav
#include "sound/midi_duration.h"
#include "sound/song_synth.h"
#include "sound/sound_font.h"

#include <QDataStream>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kBlock = 512;

bool writeWave(const char* path, const std::vector<int16_t>& samples)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    const auto bytes = quint32(samples.size() * 2);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + bytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(2) << quint32(kRate) << quint32(kRate * 4) << quint16(4) << quint16(16);
    out.writeRawData("data", 4);
    out << bytes;
    out.writeRawData(reinterpret_cast<const char*>(samples.data()), int(bytes));
    return out.status() == QDataStream::Ok;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<const char*> args(argv + 1, argv + argc);
    double from = 0;
    if (args.size() >= 2 && std::strcmp(args[0], "--from") == 0) {
        from = std::atof(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s [--from SECONDS] song.mid [next.mid ...] out.wav\n", argv[0]);
        return 2;
    }
    pairly::SongSynth synth(kRate, pairly::soundFontPath());
    std::vector<int16_t> samples;
    for (size_t song = 0; song + 1 < args.size(); ++song) {
        QFile file(QString::fromLocal8Bit(args[song]));
        const QByteArray smf = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const auto length = pairly::midiDuration(smf);
        if (!length) {
            std::fprintf(stderr, "%s: not a playable MIDI song\n", args[song]);
            return 1;
        }
        synth.play(smf, *length, song == 0 ? from : 0);
        bool ended = false;
        while (!ended) {
            samples.resize(samples.size() + 2 * kBlock, 0);
            ended = synth.render(samples.data() + samples.size() - 2 * kBlock, kBlock);
        }
    }
    // The last song's notes ring on to silence, as they would in the game.
    while (synth.active()) {
        samples.resize(samples.size() + 2 * kBlock, 0);
        synth.render(samples.data() + samples.size() - 2 * kBlock, kBlock);
    }
    return writeWave(args.back(), samples) ? 0 : 1;
}
