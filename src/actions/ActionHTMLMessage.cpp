// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionHTMLMessage.h"

#include "actions/ActionKinds.h"

TActionHTMLMessage::TActionHTMLMessage()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TActionHTMLMessage::GetDescription() const
{
    return FHTMLWebserverUrl.isEmpty() ? FHTMLTemplate : FHTMLWebserverUrl;
}
