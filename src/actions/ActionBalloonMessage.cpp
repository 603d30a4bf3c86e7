// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionBalloonMessage.h"

#include "actions/ActionKinds.h"

TActionBalloonMessage::TActionBalloonMessage()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TActionBalloonMessage::GetDescription() const
{
    return QStringLiteral("Nachricht: ") + Caption();
}
