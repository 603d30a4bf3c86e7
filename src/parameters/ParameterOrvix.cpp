#include "parameters/ParameterOrvix.h"

TParameterOrvix::TParameterOrvix()
{
    SetCaptionAndIcon(QStringLiteral("Orvix-Parameter"), u"call");
    SetParameterValue(QStringLiteral("orvixCallerNumber"));
}

QString TParameterOrvix::GetDescription() const
{
    return QStringLiteral("Orvix: ") + ParameterValue();
}
