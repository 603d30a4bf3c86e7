// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/PimItemEditing.h"

#include "pim/PimItemDrafts.h"
#include "pim/PimItemFile.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

namespace {

using TOutcome = TUserInterface::TPimItemOutcome;

bool HasContent(const TPimItem& item)
{
    return !item.Subject.trimmed().isEmpty() || !item.Body.trimmed().isEmpty();
}

} // namespace

TPimItemEditing EditPimItem(TUserInterface& ui, TPimItem& item, const QString& title)
{
    TPimItemEditing editing;
    const auto save = [&](const TPimItem& entered) -> QString {
        TPimItem saved = entered;
        try {
            const QString path = WritePimItem(saved, PimFolderPath(PimItemFolderKind(saved.Kind)));
            Trace::Value(title + QStringLiteral(": Saved"), path);
            return QString();
        } catch (const EKestrunError& error) {
            Trace::Exception(title, error);
            editing.SaveFailed = true;
            return QStringLiteral("Der Eintrag konnte nicht gespeichert werden.\n\n") + error.Message();
        }
    };
    editing.Outcome = ui.ShowPimItemWindow(item, save);
    switch (editing.Outcome) {
    case TOutcome::Saved:
        editing.SaveFailed = false;
        break;
    case TOutcome::Discarded:
        Trace::Message(title + QStringLiteral(": Discarded by the user"));
        break;
    case TOutcome::Interrupted:
        if (!HasContent(item)) {
            Trace::Message(title + QStringLiteral(": Closed at the program's end, nothing typed to keep"));
            break;
        }
        try {
            editing.DraftPath = KeepPimItemDraft(item);
            Trace::Value(title + QStringLiteral(": Closed at the program's end, kept as a draft"), editing.DraftPath);
        } catch (const EKestrunError& error) {
            Trace::Exception(title, error);
            Trace::Error(title + QStringLiteral(": Closed at the program's end, the draft could not be kept"));
        }
        break;
    }
    return editing;
}
