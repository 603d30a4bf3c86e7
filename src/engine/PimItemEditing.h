// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/UserInterface.h"
#include "pim/PimItem.h"

#include <QString>

struct TPimItemEditing
{
    TUserInterface::TPimItemOutcome Outcome = TUserInterface::TPimItemOutcome::Discarded;
    // A save the user asked for failed (the window told why) and no later one succeeded.
    bool SaveFailed = false;
    // Where the item was kept as a draft; empty when it was not.
    QString DraftPath;
};

/**
 * Shows the item in its window for the user to complete and sees to what became
 * of it: saved into its folder of the store, discarded by the user, or, when the
 * program's end closed the window first, kept as a draft for the next start
 * (unless nothing was typed at all). Traces under title with ": Saved" and the
 * file, ": Discarded by the user", or ": Kept as a draft" and the draft's path.
 * item then holds what the user entered (with its UID once kept as a draft).
 */
TPimItemEditing EditPimItem(TUserInterface& ui, TPimItem& item, const QString& title);
