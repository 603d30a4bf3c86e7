#include "parameters/ParameterUser.h"

TParameterUser::TParameterUser()
{
    SetCaptionAndIcon(QStringLiteral("Benutzer-Parameter"), u"person");
}

QString TParameterUser::GetDescription() const
{
    return (FIsVariable ? QStringLiteral("Variable: ") : QStringLiteral("Fester Wert: ")) + ParameterValue();
}
