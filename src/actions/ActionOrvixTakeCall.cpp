#include "actions/ActionOrvixTakeCall.h"

TActionOrvixTakeCall::TActionOrvixTakeCall()
{
    SetCaptionAndIcon(QStringLiteral("Ruf annehmen"), u"add_ic_call");
}
