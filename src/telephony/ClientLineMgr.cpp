// SPDX-License-Identifier: GPL-3.0-or-later

#include "telephony/ClientLineMgr.h"

#include "telephony/ClientLine.h"
#include "telephony/LineManagerError.h"
#include "telephony/LineManagerService.h"

TClientLineMgr::TClientLineMgr(LineManagerService* service)
    : m_service(service ? *service : LineManagerService::Instance())
{
    connect(&m_service, &LineManagerService::LineMgrNotification, this, &TClientLineMgr::OnServiceNotification);
    connect(&m_service, &LineManagerService::AvailabilityChanged, this, &TClientLineMgr::OnAvailabilityChanged);
}

TClientLineMgr::~TClientLineMgr() = default;

void TClientLineMgr::SetAutoConnect(bool autoConnect)
{
    m_autoConnect = autoConnect;
}

void TClientLineMgr::Connect()
{
    if (m_service.IsAvailable()) {
        m_connected = true;
        return;
    }
    if (!m_autoConnect)
        throw ELineManagerError(QString(), QStringLiteral("The softphone's line manager is not running."));
}

void TClientLineMgr::Disconnect()
{
    m_convertedNumbers.clear();
    m_connected = false;
    m_autoConnect = false;
}

void TClientLineMgr::SetOnDispOnLineMgrNotification(TNotificationHandler handler)
{
    m_handler = std::move(handler);
}

std::unique_ptr<TClientLine> TClientLineMgr::DispGetLine(int lineIndex)
{
    LineManagerService& service = ConnectedService();
    return std::make_unique<TClientLine>(service, lineIndex, service.GetLine(lineIndex));
}

QString TClientLineMgr::DispConvertNumber(int style, const QString& number)
{
    constexpr qsizetype MaxCachedNumbers = 1024;
    const QString key = QString::number(style) + u':' + number;
    const auto cached = m_convertedNumbers.constFind(key);
    if (cached != m_convertedNumbers.cend() && m_connected)
        return *cached;
    QString converted = ConnectedService().ConvertNumber(style, number);
    if (m_convertedNumbers.size() >= MaxCachedNumbers)
        m_convertedNumbers.clear();
    m_convertedNumbers.insert(key, converted);
    return converted;
}

QString TClientLineMgr::DispNotificationCallPeerName()
{
    return NotificationCallValue(QStringLiteral("DispNotificationCallPeerName"));
}

QString TClientLineMgr::DispNotificationCallPeerNumber()
{
    return NotificationCallValue(QStringLiteral("DispNotificationCallPeerNumber"));
}

QString TClientLineMgr::DispNotificationCallCalledName()
{
    return NotificationCallValue(QStringLiteral("DispNotificationCallCalledName"));
}

QString TClientLineMgr::DispNotificationCallCalledExtension()
{
    return NotificationCallValue(QStringLiteral("DispNotificationCallCalledExtension"));
}

QString TClientLineMgr::DispNotificationCallRedirectedFromName()
{
    return NotificationCallValue(QStringLiteral("DispNotificationCallRedirectedFromName"));
}

QString TClientLineMgr::DispNotificationCallRedirectedFromNumber()
{
    return NotificationCallValue(QStringLiteral("DispNotificationCallRedirectedFromNumber"));
}

void TClientLineMgr::DispPickupGroupNotificationCall(int lineIndex)
{
    ConnectedService().PickupGroupNotificationCall(lineIndex);
}

int TClientLineMgr::DispMakeCall(const QString& number)
{
    return ConnectedService().MakeCall(-1, number);
}

void TClientLineMgr::OnServiceNotification(int eventMsg, int eventParam)
{
    if (!m_connected || !m_handler)
        return;
    // The handler may release the last reference to this object; a copy keeps
    // the callable alive until it returns.
    const TNotificationHandler handler = m_handler;
    handler(this, eventMsg, eventParam);
}

void TClientLineMgr::OnAvailabilityChanged(bool available)
{
    // A softphone that comes back may have been configured anew.
    m_convertedNumbers.clear();
    if (!available)
        m_connected = false;
    else if (m_autoConnect)
        m_connected = true;
    emit AvailabilityChanged(available);
}

LineManagerService& TClientLineMgr::ConnectedService()
{
    if (!m_connected)
        throw ELineManagerError(QString(), QStringLiteral("Not connected to the softphone's line manager."));
    return m_service;
}

QString TClientLineMgr::NotificationCallValue(const QString& name)
{
    return ConnectedService().GetNotificationCall().value(name).toString();
}
