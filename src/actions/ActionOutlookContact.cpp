#include "actions/ActionOutlookContact.h"

TActionOutlookContact::TActionOutlookContact()
{
    SetCaptionAndIcon(QStringLiteral("Kontakt erstellen"), u"contact_mail");
}
