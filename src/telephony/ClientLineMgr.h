// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "telephony/ClientLine.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class LineManagerService;

/**
 * @brief A client's own connection to the softphone's line manager.
 *
 * Every user makes its own (the event controller, each notification window and
 * the snapshot it shows, the rule test) and gets its own notifications while
 * connected. With automatic connection on, it attaches as soon as the softphone
 * appears and again after the softphone went away and came back.
 * Notifications arrive from the event loop on the main thread, also while a
 * modal dialog runs, never inside a call of this class.
 */
class TClientLineMgr : public QObject
{
    Q_OBJECT

public:
    using TNotificationHandler = std::function<void(TClientLineMgr* sender, int eventMsg, int eventParam)>;

    // Uses the process-wide service unless one is given.
    explicit TClientLineMgr(LineManagerService* service = nullptr);
    ~TClientLineMgr() override;

    void SetAutoConnect(bool autoConnect);

    // Attaches to the softphone. Throws ELineManagerError when the softphone is
    // not there, unless automatic connection is on (it attaches when it comes).
    void Connect();
    void Disconnect();
    bool IsConnected() const { return m_connected; }

    // The notification callback; an empty one removes it.
    void SetOnDispOnLineMgrNotification(TNotificationHandler handler);
    bool HasNotificationHandler() const { return bool(m_handler); }

    // The following throw ELineManagerError when not connected or when the softphone refuses.
    std::unique_ptr<TClientLine> DispGetLine(int lineIndex);
    QString DispConvertNumber(int style, const QString& number);
    QString DispNotificationCallPeerName();
    QString DispNotificationCallPeerNumber();
    QString DispNotificationCallCalledName();
    QString DispNotificationCallCalledExtension();
    QString DispNotificationCallRedirectedFromName();
    QString DispNotificationCallRedirectedFromNumber();
    void DispPickupGroupNotificationCall(int lineIndex);
    // Places an outgoing call to the number on the first idle line; answers that line.
    int DispMakeCall(const QString& number);

signals:
    // The softphone went away or (re)appeared; calls it had under way are lost either way.
    void AvailabilityChanged(bool available);

private:
    void OnServiceNotification(int eventMsg, int eventParam);
    void OnAvailabilityChanged(bool available);
    LineManagerService& ConnectedService();
    QString NotificationCallValue(const QString& name);

    LineManagerService& m_service;
    // Conversions asked before, by style and number: a call's numbers are converted
    // at every refresh, and each conversion is a round trip to the softphone. The
    // softphone's rule does not change while it runs, so the cache lives as long as
    // the connection.
    QHash<QString, QString> m_convertedNumbers;
    bool m_autoConnect = false;
    bool m_connected = false;
    TNotificationHandler m_handler;
};
