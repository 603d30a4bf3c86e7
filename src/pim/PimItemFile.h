// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/PimFolders.h"
#include "pim/PimItem.h"

#include <QString>

// The folder of the store that keeps items of the kind.
TPimFolderKind PimItemFolderKind(TPimItemKind kind);

/**
 * Writes the item as an iCalendar file named by its UID (a new UID when it has
 * none, set on the item; line breaks of its texts become LF) in the folder, which is made when missing. The file is
 * replaced whole or not at all. Notes and journal entries are VJOURNAL (a note
 * has no date), appointments VEVENT, tasks VTODO; times are written in UTC.
 * Returns the file's path; throws EKestrunError naming the folder or file when
 * it cannot be written.
 */
QString WritePimItem(TPimItem& item, const QString& folder);

/**
 * Reads the first note, journal entry, appointment or task of an iCalendar file.
 * Throws EKestrunError naming the file when it cannot be read or holds none.
 */
TPimItem ReadPimItem(const QString& path);
