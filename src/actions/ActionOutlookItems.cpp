// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOutlookItems.h"

#include "actions/ActionKinds.h"

TActionOutlookNote::TActionOutlookNote()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

TActionOutlookJournal::TActionOutlookJournal()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

TActionOutlookCalendar::TActionOutlookCalendar()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

TActionOutlookTask::TActionOutlookTask()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}
