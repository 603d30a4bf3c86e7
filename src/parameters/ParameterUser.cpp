// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterUser.h"

#include "parameters/ParameterKinds.h"

#include "model/OrvixLine.h"
#include "platform/Environment.h"
#include "trace/Trace.h"

TParameterUser::TParameterUser()
{
    const TParameterKind& kind = ParameterKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TParameterUser::GetDescription() const
{
    return (FIsVariable ? QStringLiteral("Variable: ") : QStringLiteral("Fester Wert: ")) + ParameterValue();
}

QString TParameterUser::GetParamResult(TActionContext& context)
{
    QString result;
    if (!FIsVariable) {
        result = ExpandEnvironmentReferences(ParameterValue());
    } else if (const std::shared_ptr<TOrvixLine>& line = context.Line();
               line && line->TemporaryVariables().contains(ParameterValue())) {
        Trace::Value("ParameterUser:GetParamResult:Returning variable content", ParameterValue());
        result = line->GetUserVariableResult(ParameterValue());
    }
    Trace::Value("ParameterUser:GetParamResult:Result", result);
    return result;
}
