#include "actions/ActionHTMLMessage.h"

TActionHTMLMessage::TActionHTMLMessage()
{
    SetCaptionAndIcon(QStringLiteral("HTML-Nachricht anzeigen"), u"reviews");
}

QString TActionHTMLMessage::GetDescription() const
{
    return FHTMLWebserverUrl.isEmpty() ? FHTMLTemplate : FHTMLWebserverUrl;
}
