// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionStopper.h"

#include "actions/ActionKinds.h"

TActionStopper::TActionStopper()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TActionStopper::GetDescription() const
{
    if (FBlockAllActions)
        return FBlockOnSuccess ? QStringLiteral("Bei Erfolg keine weiteren Aktionen ausführen")
                               : QStringLiteral("Bei Fehler keine weiteren Aktionen ausführen");
    return (FBlockOnSuccess ? QStringLiteral("Bei Erfolg ") : QStringLiteral("Bei Fehler ")) +
        QString::number(FBlockCount) + QStringLiteral(" Aktionen überspringen");
}
