#include "actions/ActionStopper.h"

TActionStopper::TActionStopper()
{
    SetCaptionAndIcon(QStringLiteral("Aktions-Stopper"), u"do_not_disturb_on");
}

QString TActionStopper::GetDescription() const
{
    if (FBlockAllActions)
        return FBlockOnSuccess ? QStringLiteral("Bei Erfolg keine weiteren Aktionen ausführen")
                               : QStringLiteral("Bei Fehler keine weiteren Aktionen ausführen");
    return (FBlockOnSuccess ? QStringLiteral("Bei Erfolg ") : QStringLiteral("Bei Fehler ")) +
        QString::number(FBlockCount) + QStringLiteral(" Aktionen überspringen");
}
