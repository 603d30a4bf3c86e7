// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/PimItem.h"

#include <QString>

#include <vector>

/**
 * Keeps an item whose window the program's end closed before the user saved or
 * discarded it: a JSON file that gives back every character of its texts, in
 * the store's item drafts folder (PimFolderPath(TPimFolderKind::ItemDrafts)),
 * named by the item's UID (a new UUID, set on the item, unless it has one),
 * never by its text, and private to the user (folder 0700, file 0600) since it
 * holds call data. Keeping the same item again replaces its draft. Returns its
 * path; throws EKestrunError when it cannot be written.
 */
QString KeepPimItemDraft(TPimItem& item);

struct TPimItemDraft
{
    QString Path;
    TPimItem Item;
};

// A draft file that could not be read: moved to KeptAs ("unreadable/..." in the
// drafts folder), or left where it is when even that failed (KeptAs empty).
struct TUnreadablePimItemDraft
{
    QString Path;
    QString KeptAs;
    QString Error;
};

struct TPimItemDrafts
{
    // Oldest first.
    std::vector<TPimItemDraft> Drafts;
    std::vector<TUnreadablePimItemDraft> Unreadable;
};

// The drafts kept so far. A file that cannot be read is moved aside, so that it
// is neither offered again nor lost.
TPimItemDrafts ReadPimItemDrafts();

// Removes a draft once the user saved or discarded its item; throws EKestrunError when it cannot.
void RemovePimItemDraft(const QString& path);
