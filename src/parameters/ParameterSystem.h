// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseParameter.h"
#include "model/EnumSet.h"

#include <QDateTime>

#include <functional>

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
    Q_PROPERTY(SystemParameter ParamType READ ParamType WRITE SetParamType)
    Q_PROPERTY(QString EnvironmentalVariable READ EnvironmentalVariable WRITE SetEnvironmentalVariable)
    Q_PROPERTY(QString TimeFormat READ TimeFormat WRITE SetTimeFormat)
    Q_PROPERTY(QString DateFormat READ DateFormat WRITE SetDateFormat)
    Q_PROPERTY(QString DateTimeFormat READ DateTimeFormat WRITE SetDateTimeFormat)

public:
    // The current local date and time.
    using TClock = std::function<QDateTime()>;

    TParameterSystem();

    KESTRUN_FIELD(SystemParameter, ParamType, spTime)
    // Variable name for spEnvironmentVariable.
    KESTRUN_FIELD(QString, EnvironmentalVariable)
    // Date/time patterns ("hh:nn:ss", "dd.mm.yyyy" ...) for spTime, spDate and spDateTime.
    KESTRUN_FIELD(QString, TimeFormat)
    KESTRUN_FIELD(QString, DateFormat)
    KESTRUN_FIELD(QString, DateTimeFormat)

    // "Zeit: 14:05:09", "Benutzer: anna" ...: the value as it is now, after its kind.
    QString GetDescription() const override;
    // The value of ParamType; empty for a type the program does not know.
    QString GetParamResult(TActionContext& context) override;

    void SetClock(TClock clock) { m_clock = std::move(clock); }

    // The description shows the time, the environment and the network as they are now.
    quint64 TraceRevision() const override { return 0; }

private:
    QString CurrentValue() const;

    TClock m_clock = [] { return QDateTime::currentDateTime(); };
};
