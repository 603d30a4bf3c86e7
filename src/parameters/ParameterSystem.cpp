// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterSystem.h"

#include "parameters/ParameterKinds.h"

#include "model/DateTime.h"
#include "platform/Environment.h"
#include "platform/SystemRoutines.h"
#include "trace/Trace.h"

TParameterSystem::TParameterSystem()
{
    const TParameterKind& kind = ParameterKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TParameterSystem::CurrentValue() const
{
    switch (FParamType) {
    case spTime:
        return FormatDateTime(FTimeFormat, m_clock());
    case spDate:
        return FormatDateTime(FDateFormat, m_clock());
    case spDateTime:
        return FormatDateTime(FDateTimeFormat, m_clock());
    case spEnvironmentVariable:
        return GetEnvVarValue(FEnvironmentalVariable);
    case spIPAddress:
        return GetLocalIpAddress();
    case spComputername:
        return GetComputerName();
    case spUsername:
        return GetUserName();
    case spOS:
        return GetOperatingSystemName();
    }
    return {};
}

QString TParameterSystem::GetDescription() const
{
    const QString value = CurrentValue();
    switch (FParamType) {
    case spTime:
        return QStringLiteral("Zeit: ") + value;
    case spDate:
        return QStringLiteral("Datum: ") + value;
    case spDateTime:
        return QStringLiteral("Datum / Zeit: ") + value;
    case spEnvironmentVariable:
        return FEnvironmentalVariable + QStringLiteral(": ") + value;
    case spIPAddress:
        return QStringLiteral("IP-Addresse: ") + value;
    case spComputername:
        return QStringLiteral("Computer: ") + value;
    case spUsername:
        return QStringLiteral("Benutzer: ") + value;
    case spOS:
        return QStringLiteral("OS:  ") + value;
    }
    return TBaseParameter::GetDescription();
}

QString TParameterSystem::GetParamResult(TActionContext&)
{
    switch (FParamType) {
    case spTime:
        Trace::Value("ParameterSystem:GetParamResult:Get time with format", FTimeFormat);
        break;
    case spDate:
        Trace::Value("ParameterSystem:GetParamResult:Get date with format", FDateFormat);
        break;
    case spDateTime:
        Trace::Value("ParameterSystem:GetParamResult:Get date/time with format", FDateTimeFormat);
        break;
    case spEnvironmentVariable:
        Trace::Value("ParameterSystem:GetParamResult:Get evironment variable", FEnvironmentalVariable);
        break;
    case spIPAddress:
        Trace::Message("ParameterSystem:GetParamResult:Get local IP-Address");
        break;
    case spComputername:
        Trace::Message("ParameterSystem:GetParamResult:Get computername");
        break;
    case spUsername:
        Trace::Message("ParameterSystem:GetParamResult:Get username");
        break;
    case spOS:
        Trace::Message("ParameterSystem:GetParamResult:Get OS");
        break;
    }
    // Local facts and the user's own formats and variable names: configuration, so references expand.
    QString result = ExpandEnvironmentReferences(CurrentValue());
    Trace::Value("ParameterSystem:GetParamResult:Result", result);
    return result;
}
