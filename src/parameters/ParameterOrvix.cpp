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

QString TParameterOrvix::GetParamResult(TActionContext& context)
{
    QString result = GetOrvixParam(context.Line().get(), ParameterValue());
    Trace::Value("ParameterOrvix:GetParamResult:Result", result);
    return result;
}
