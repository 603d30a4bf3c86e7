#include "actions/ActionOrvixEndCall.h"

TActionOrvixEndCall::TActionOrvixEndCall()
{
    SetCaptionAndIcon(QStringLiteral("Ruf beenden"), u"call_end");
}
