#include "actions/ActionOutlookBase.h"

TActionOutlookBase::TActionOutlookBase()
{
    SetCaptionAndIcon(QStringLiteral("Orvix"), u"alternate_email");
}
