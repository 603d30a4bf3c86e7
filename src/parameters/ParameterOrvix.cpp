// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterOrvix.h"

#include "parameters/ParameterKinds.h"

#include "trace/Trace.h"

TParameterOrvix::TParameterOrvix()
{
    const TParameterKind& kind = ParameterKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
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
