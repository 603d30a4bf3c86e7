#include "actions/ActionOutlookSendMail.h"

TActionOutlookSendMail::TActionOutlookSendMail()
{
    SetCaptionAndIcon(QStringLiteral("Outlook E-Mail senden"), u"mail");
}
