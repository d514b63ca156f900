// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/file_name_resolver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pairly {
namespace {

// Songs are asked for as ".MID" when chosen and ".mid" in sequence: any letter
// case of folder or name reaches the one file on disk, an exact name wins over
// one that differs only in case, and a missing file stays as asked.
TEST(FileNameResolver, FindsTheFileOnDiskInAnyLetterCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("music"));
    for (const char* name : {"music/Chill1.mid", "Song.MID", "Song.mid"})
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    const std::pair<const char*, const char*> cases[] = {
        {"music/Chill1.mid", "music/Chill1.mid"}, {"music/Chill1.MID", "music/Chill1.mid"},
        {"MUSIC/chill1.Mid", "music/Chill1.mid"}, {"Song.MID", "Song.MID"},
        {"Song.mid", "Song.mid"},                 {"music/Scopa.MID", "music/Scopa.MID"},
        {"Scopa.MID", "Scopa.MID"},               {"NOWHERE/Chill1.mid", "NOWHERE/Chill1.mid"}};
    for (const auto& [asked, found] : cases)
        EXPECT_EQ(resolveFileName(dir.filePath(asked)), dir.filePath(found)) << asked;
}

}  // namespace
}  // namespace pairly
