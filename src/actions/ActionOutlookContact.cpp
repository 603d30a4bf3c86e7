// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOutlookContact.h"

#include "actions/ActionKinds.h"

TActionOutlookContact::TActionOutlookContact()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}
