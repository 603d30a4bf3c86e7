// SPDX-License-Identifier: GPL-3.0-or-later

#include "telephony/ClientLine.h"

#include "telephony/LineManagerService.h"

TClientLine::TClientLine(LineManagerService& service, int lineIndex, QVariantMap properties)
    : m_service(service)
    , m_lineIndex(lineIndex)
    , m_properties(std::move(properties))
{
}

TClientLineDetails TClientLine::PubGetDetails() const
{
    const QVariant flag = m_properties.value(QStringLiteral("m_bIsInternalCall"));
    return {flag.isValid() ? flag.toInt() : -1};
}

void TClientLine::DispHookOff()
{
    m_service.HookOff(m_lineIndex);
}

void TClientLine::DispHookOn()
{
    m_service.HookOn(m_lineIndex);
}

void TClientLine::DispDial(const QString& digits)
{
    m_service.Dial(m_lineIndex, digits);
}

QString TClientLine::Text(const char* name) const
{
    return m_properties.value(QLatin1StringView(name)).toString();
}

// A property the softphone did not send reads as 0, like an unset value.
int TClientLine::Integer(const char* name) const
{
    return m_properties.value(QLatin1StringView(name)).toInt();
}

TDateTime TClientLine::DateTime(const char* name) const
{
    return m_properties.value(QLatin1StringView(name)).toDouble();
}
