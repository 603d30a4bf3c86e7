// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief Files that exist but could not be read, so that nobody overwrites them unseen.
 *
 * A loader that fails on an existing file remembers it; a writer calls KeepAside
 * before it replaces the file, which moves the unreadable file to
 * "unreadable/<name>.unreadable-<yyyyMMdd-HHmmss>" in the file's folder. The
 * user's broken file then survives the program's next save for someone to
 * repair, and the global template's clean-up, which deletes only the files
 * directly in the data folder, does not reach it. Process-wide, since
 * several models (a working copy, an import) may read and write the same path.
 */
class UnreadableFiles
{
public:
    static void Remember(const QString& path);
    // The file was read after all (or replaced on purpose).
    static void Forget(const QString& path);
    /**
     * Moves a remembered file aside and forgets it. Returns the new path, or an
     * empty text when there was nothing to move. Throws EKestrunError when the file
     * cannot be moved; the caller must then leave it in place.
     */
    static QString KeepAside(const QString& path);
    /**
     * Copies a remembered file to the same place KeepAside would move it to and
     * forgets it, leaving the file itself untouched. Returns the copy's path. Throws
     * EKestrunError when it cannot be copied (it stays remembered then, so that a
     * save still moves it aside first).
     */
    static QString KeepCopy(const QString& path);

private:
    // "unreadable/<name>.unreadable-<time>[-n]" beside the file, not taken yet; makes the folder.
    static QString FreeTargetFor(const QString& key);
};
