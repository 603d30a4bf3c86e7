#include "actions/ActionBalloonMessage.h"

TActionBalloonMessage::TActionBalloonMessage()
{
    SetCaptionAndIcon(QStringLiteral("Standard-Nachricht anzeigen"), u"message");
}

QString TActionBalloonMessage::GetDescription() const
{
    return QStringLiteral("Nachricht: ") + Caption();
}
