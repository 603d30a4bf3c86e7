// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

/**
 * @brief The one way the program writes a file: through a temporary file beside
 * it, which replaces the file only when every byte is on the disk.
 *
 * Each write, the flush to the disk and the close are checked before the rename.
 * A full disk, a quota or a failing device throws EKestrunError naming the path
 * and the cause, and leaves the old file as it was (and no temporary file behind).
 */
class TAtomicFile
{
public:
    // Opens the temporary file; throws when it cannot be made. Unbuffered: callers
    // write in large blocks, and a write that fails must fail where its cause can still be read.
    // With permissions, the temporary file gets them before a byte is written, and
    // they go with it on commit (for files only the user may read).
    explicit TAtomicFile(const QString& path, QFileDevice::Permissions permissions = {});
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Where the content goes; a write that fails is reported by Commit.
    QIODevice& Device() { return m_file; }
    // Writes all of it; throws when it cannot.
    void Write(const QByteArray& content);
    // Puts the written content in place of the file; throws when any part of it failed.
    void Commit();

private:
    [[noreturn]] void Fail(const QString& cause);

    QString m_path;
    QSaveFile m_file;
};

// Writes the whole content as one TAtomicFile.
void WriteFileAtomically(const QString& path, const QByteArray& content, QFileDevice::Permissions permissions = {});
