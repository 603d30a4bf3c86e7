// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/ContactItems.h"

#include <QString>

/**
 * @brief A folder of vCard files (*.vcf, one or more cards each), as khard and
 * vdirsyncer keep it, read whole when opened.
 *
 * The files of the folder itself come first, then those of each subfolder (one
 * address book each, in vdirsyncer's layout), folders and files by name;
 * within a file, the cards in file order. Hidden files and folders are left out.
 */
class TContactsFolder
{
public:
    // The largest file read; anything bigger is no address book a person keeps.
    static constexpr qint64 MaxFileSize = qint64 {64} * 1024 * 1024;

    // Throws EKestrunError naming the folder when it is missing or cannot be read;
    // a file or card that cannot be read is skipped with a warning trace.
    static TContactsFolder Open(const QString& path);

    // What the folder's contents depend on: its address-book files with their
    // sizes and times of change. Cheap (no file is read); another signature means
    // the folder changed. Throws as Open for a folder that is missing or unreadable.
    static QString Signature(const QString& path);

    // All contacts of the folder; each call gives a collection of its own.
    TContactItems Items() const { return m_items; }

private:
    explicit TContactsFolder(TContactItems items);

    TContactItems m_items;
};
