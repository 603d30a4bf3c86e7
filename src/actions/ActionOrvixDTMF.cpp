#include "actions/ActionOrvixDTMF.h"

TActionOrvixDTMF::TActionOrvixDTMF()
{
    SetCaptionAndIcon(QStringLiteral("DTMF senden"), u"dialpad");
}

QString TActionOrvixDTMF::GetDescription() const
{
    return QStringLiteral("DTMF ") + FDtmfSigns + QStringLiteral(" senden");
}
