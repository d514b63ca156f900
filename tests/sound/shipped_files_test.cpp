// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/design/window_designs.h"
#include "sound/midi_duration.h"
#include "sound/sdl_audio_backend.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pairly {
namespace {

const QString kData = QStringLiteral(PAIRLY_SOURCE_DIR "/data");

QStringList songCaptions()
{
    QStringList captions;
    for (const MenuTitleDesign& title : form1Design().menu)
        for (const MenuItemDesign& item : title.items)
            if (item.name == QLatin1String("canzoni"))
                captions << item.caption;
    return captions;
}

// A song's caption is its file's name: each of the ten names a file that is
// shipped, letter case included, and no shipped song lacks an item.
TEST(ShippedFiles, TheSongItemsNameTheTenShippedSongs)
{
    QStringList files = QDir(kData + QStringLiteral("/music")).entryList(QDir::Files, QDir::Name);
    QStringList expected;
    for (const QString& caption : songCaptions())
        expected << caption + QStringLiteral(".mid");
    expected.sort();
    EXPECT_EQ(files, expected);
    EXPECT_EQ(expected.size(), 10);
}

// Every shipped song is a MIDI file that the sound output plays, and so is
// the rustle's wave file.
TEST(ShippedFiles, EverySongAndTheRustleLoad)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    SdlAudioBackend backend;
    ASSERT_TRUE(backend.isOpen());
    for (const QString& caption : songCaptions()) {
        const QString path = kData + QStringLiteral("/music/") + caption + QStringLiteral(".mid");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << caption.toStdString();
        EXPECT_GT(midiDuration(file.readAll()).value_or(0), 30.0) << caption.toStdString();
        EXPECT_NE(backend.open(StreamKind::Music, path), nullptr) << caption.toStdString();
    }
    EXPECT_NE(backend.open(StreamKind::Effect, kData + QStringLiteral("/carta.wav")), nullptr);
}

}  // namespace
}  // namespace pairly
