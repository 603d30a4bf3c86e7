// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

/**
 * @brief The softphone's line manager as the program reaches it: one
 * process-wide connection that every TClientLineMgr uses.
 *
 * The default talks to the softphone on the session bus; tests and the
 * in-process simulator install their own with SetInstance(). Operations throw
 * ELineManagerError. Notifications must arrive from the event loop, never
 * inside one of the calls below, so that a synchronous call cannot re-enter
 * its caller.
 */
class LineManagerService : public QObject
{
    Q_OBJECT

public:
    // The installed service, else the session-bus one (made on first use).
    static LineManagerService& Instance();
    // Installs a service for the whole process (not owned); null restores the session-bus one.
    static void SetInstance(LineManagerService* service);

    // Whether the softphone is there now.
    virtual bool IsAvailable() const = 0;
    // The display properties of the line and its details record, by name.
    virtual QVariantMap GetLine(int lineIndex) = 0;
    virtual QString ConvertNumber(int style, const QString& number) = 0;
    // The six values of the signalled group call, by name.
    virtual QVariantMap GetNotificationCall() = 0;
    virtual void PickupGroupNotificationCall(int lineIndex) = 0;
    virtual void HookOff(int lineIndex) = 0;
    virtual void HookOn(int lineIndex) = 0;
    virtual void Dial(int lineIndex, const QString& digits) = 0;
    // Places an outgoing call on the line (-1: the first idle line); answers the line used.
    virtual int MakeCall(int lineIndex, const QString& number) = 0;

signals:
    void LineMgrNotification(int eventMsg, int eventParam);
    // The softphone appeared or went away.
    void AvailabilityChanged(bool available);
};
