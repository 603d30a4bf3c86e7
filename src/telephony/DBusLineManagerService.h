// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "telephony/LineManagerService.h"

#include <memory>

class ComOrvixitSoftphoneLineManagerInterface;
class QDBusServiceWatcher;

/**
 * @brief The line manager of the softphone on the session bus.
 *
 * Calls block without running the event loop, so a notification never arrives
 * inside one; D-Bus errors and an absent softphone become ELineManagerError, and
 * so does a softphone that does not answer within 2 s (traced as an error naming
 * the call).
 */
class DBusLineManagerService : public LineManagerService
{
    Q_OBJECT

public:
    static const QString ServiceName;
    static const QString ObjectPath;

    // The softphone's bus name; tests give each simulator a name of its own.
    explicit DBusLineManagerService(const QString& serviceName = ServiceName);
    ~DBusLineManagerService() override;

    bool IsAvailable() const override;
    QVariantMap GetLine(int lineIndex) override;
    QString ConvertNumber(int style, const QString& number) override;
    QVariantMap GetNotificationCall() override;
    void PickupGroupNotificationCall(int lineIndex) override;
    void HookOff(int lineIndex) override;
    void HookOn(int lineIndex) override;
    void Dial(int lineIndex, const QString& digits) override;
    int MakeCall(int lineIndex, const QString& number) override;

private:
    QString m_serviceName;
    std::unique_ptr<ComOrvixitSoftphoneLineManagerInterface> m_proxy;
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
};
