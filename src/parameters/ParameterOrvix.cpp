#include "parameters/ParameterOrvix.h"

#include "trace/Trace.h"

TParameterOrvix::TParameterOrvix()
{
    SetCaptionAndIcon(QStringLiteral("Orvix-Parameter"), u"call");
    SetParameterValue(QStringLiteral("orvixCallerNumber"));
}

QString TParameterOrvix::GetDescription() const
{
    return QStringLiteral("Orvix: ") + ParameterValue();
}

QString TParameterOrvix::GetParamResult()
{
    // A call value never cancels; a flag copied from elsewhere must not either.
    TBaseParameter::GetParamResult();
    QString result = GetOrvixParam(ParameterValue());
    Trace::Value("ParameterOrvix:GetParamResult:Result", result);
    return result;
}
