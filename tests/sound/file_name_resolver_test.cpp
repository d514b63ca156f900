#include "sound/file_name_resolver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pairly {
namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// Songs are asked for as ".MID" when chosen and ".mid" in sequence; both,
// and any other letter case of folder or name, reach the one file on disk.
TEST(FileNameResolver, AnyLetterCaseReachesTheFileOnDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("music"));
    touch(dir.filePath("music/Chill1.mid"));
    const QString onDisk = dir.filePath("music/Chill1.mid");

    for (const char* asked : {"music/Chill1.mid", "music/Chill1.MID", "music/chill1.Mid", "MUSIC/CHILL1.MID"})
        EXPECT_EQ(resolveFileName(dir.filePath(asked)), onDisk) << asked;
}

// The exact name wins over a name that differs only in letter case.
TEST(FileNameResolver, ExactNameComesFirst)
{
    QTemporaryDir dir;
    touch(dir.filePath("Song.MID"));
    touch(dir.filePath("Song.mid"));
    EXPECT_EQ(resolveFileName(dir.filePath("Song.MID")), dir.filePath("Song.MID"));
    EXPECT_EQ(resolveFileName(dir.filePath("Song.mid")), dir.filePath("Song.mid"));
}

TEST(FileNameResolver, MissingFilesStayAsAsked)
{
    QTemporaryDir dir;
    EXPECT_EQ(resolveFileName(dir.filePath("music/Scopa.MID")), dir.filePath("music/Scopa.MID"));
    EXPECT_EQ(resolveFileName(dir.filePath("Scopa.MID")), dir.filePath("Scopa.MID"));
}

}  // namespace
}  // namespace pairly
