#pragma once

#include "model/BaseParameter.h"
#include "model/EnumSet.h"

// Which value a system parameter yields. The ordinal is stored in rules files.
enum SystemParameter : quint8
{
    spTime,
    spDate,
    spDateTime,
    spEnvironmentVariable,
    spIPAddress,
    spComputername,
    spUsername,
    spOS
};

template <>
struct TEnumNames<SystemParameter>
{
    static constexpr std::array<std::string_view, 8> Names {
        "spTime",      "spDate",         "spDateTime", "spEnvironmentVariable",
        "spIPAddress", "spComputername", "spUsername", "spOS"};
};

/**
 * @brief A value of the local system: time, date, an environment variable, the
 * IP address, the computer or user name, or the operating system.
 */
class TParameterSystem : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(SystemParameter ParamType MEMBER FParamType)
    Q_PROPERTY(QString EnvironmentalVariable MEMBER FEnvironmentalVariable)
    Q_PROPERTY(QString TimeFormat MEMBER FTimeFormat)
    Q_PROPERTY(QString DateFormat MEMBER FDateFormat)
    Q_PROPERTY(QString DateTimeFormat MEMBER FDateTimeFormat)

public:
    TParameterSystem();

    KESTRUN_FIELD(SystemParameter, ParamType, spTime)
    // Variable name for spEnvironmentVariable.
    KESTRUN_FIELD(QString, EnvironmentalVariable)
    // Date/time patterns ("hh:nn:ss", "dd.mm.yyyy" ...) for spTime, spDate and spDateTime.
    KESTRUN_FIELD(QString, TimeFormat)
    KESTRUN_FIELD(QString, DateFormat)
    KESTRUN_FIELD(QString, DateTimeFormat)
};
