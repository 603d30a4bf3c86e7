#include "actions/ActionDDEMessage.h"

TActionDDEMessage::TActionDDEMessage()
{
    SetCaptionAndIcon(QStringLiteral("DDE-Nachricht senden"), u"settings_ethernet");
}

QString TActionDDEMessage::GetDescription() const
{
    return QStringLiteral("Anw.: ") + FDDEService + QStringLiteral(" Thema: ") + FDDETopic;
}
