// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOutlookSendMail.h"

#include "actions/ActionKinds.h"

TActionOutlookSendMail::TActionOutlookSendMail()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}
