#include "parameters/ParameterUser.h"

#include "model/OrvixLine.h"
#include "trace/Trace.h"

TParameterUser::TParameterUser()
{
    SetCaptionAndIcon(QStringLiteral("Benutzer-Parameter"), u"person");
}

QString TParameterUser::GetDescription() const
{
    return (FIsVariable ? QStringLiteral("Variable: ") : QStringLiteral("Fester Wert: ")) + ParameterValue();
}

QString TParameterUser::GetParamResult()
{
    TBaseParameter::GetParamResult();
    QString result;
    if (!FIsVariable) {
        result = ParameterValue();
    } else if (const std::shared_ptr<TOrvixLine> line = OrvixLine();
               line && line->TemporaryVariables().contains(ParameterValue())) {
        Trace::Value("ParameterUser:GetParamResult:Returning variable content", ParameterValue());
        result = line->GetUserVariableResult(ParameterValue());
    }
    Trace::Value("ParameterUser:GetParamResult:Result", result);
    return result;
}
