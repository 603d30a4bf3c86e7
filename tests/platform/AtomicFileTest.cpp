// SPDX-License-Identifier: GPL-3.0-or-later

// Every file the program writes goes through one checked way: a disk that fills up
// while it is written leaves the old file whole and says why.
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include "platform/AtomicFile.h"
#include "platform/KestrunError.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

TEST(AtomicFile, WritesTheWholeContentInPlaceOfTheOldFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("item.ics"));
    WriteFile(path, "alt");
    WriteFileAtomically(path, "neu");
    EXPECT_EQ(ReadFile(path), "neu");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList {"item.ics"});
}

TEST(AtomicFile, AWriteThatBreaksOffLeavesTheOldFileAndNamesTheCause)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("item.ics"));
    WriteFile(path, "alt");
    // Small and large: the first fails only when the buffer goes to the disk, the second at once.
    for (const qsizetype size : {qsizetype(200), qsizetype(1024 * 1024)}) {
        SCOPED_TRACE(size);
        QString failure;
        {
            const FileSizeLimit full(100);
            try {
                WriteFileAtomically(path, QByteArray(size, 'x'));
            } catch (const EKestrunError& error) {
                failure = error.Message();
            }
        }
        EXPECT_TRUE(failure.contains(path)) << failure.toStdString();
        EXPECT_TRUE(failure.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << failure.toStdString();
        EXPECT_EQ(ReadFile(path), "alt");
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList {"item.ics"}) << "a temporary file was left";
    }
}

TEST(AtomicFile, AFolderThatCannotTakeTheFileIsNamed)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("missing/item.ics"));
    EXPECT_THROW(WriteFileAtomically(path, "neu"), EKestrunError);
    EXPECT_FALSE(QFile::exists(path));
}
