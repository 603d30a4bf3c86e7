#include "actions/ActionBaseMessage.h"

TActionBaseMessage::TActionBaseMessage()
{
    SetCaptionAndIcon(QStringLiteral("Nachricht anzeigen"), u"message");
}
