// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "telephony/LineEvents.h"
#include "telephony/LineManagerError.h"
#include "telephony/LineManagerService.h"

#include <QCoreApplication>
#include <QMap>
#include <QStringList>

// The line of an external incoming call as the softphone reports it while it rings.
inline QVariantMap IncomingCall(int callId, const QString& number, const QString& name)
{
    return {
        {QStringLiteral("DispState"), int(LSRinging)},
        {QStringLiteral("DispCallId"), callId},
        {QStringLiteral("DispPeerNumber"), number},
        {QStringLiteral("DispPeerName"), name},
        {QStringLiteral("DispCalledExtension"), QStringLiteral("21")},
        {QStringLiteral("DispIsOutgoingCall"), 0},
        {QStringLiteral("DispIsDirectCall"), 1},
        {QStringLiteral("DispIsGroupCall"), 0},
        {QStringLiteral("DispCallWasRedirected"), 0},
        {QStringLiteral("m_bIsInternalCall"), 0},
    };
}

// An in-process softphone for the tests: lines are property maps the test sets,
// numbers convert by a simple rule, and notifications are delivered from the
// event loop as the session bus delivers them.
class FakeLineManager : public LineManagerService
{
public:
    bool available = true;
    QMap<int, QVariantMap> lines;
    QVariantMap notificationCall;
    QStringList operations;
    // When set, GetLine fails with this error name.
    QString failGetLine;
    // Converting this number fails, as a call the softphone does not answer does.
    QString failConvert;
    int conversions = 0;

    bool IsAvailable() const override { return available; }

    QVariantMap GetLine(int lineIndex) override
    {
        if (!failGetLine.isEmpty())
            throw ELineManagerError(failGetLine, QStringLiteral("line %1 cannot be read").arg(lineIndex));
        return lines.value(lineIndex);
    }

    // "0301234" -> "+49301234": enough to tell converted from raw numbers.
    QString ConvertNumber(int style, const QString& number) override
    {
        ++conversions;
        if (!failConvert.isEmpty() && number == failConvert)
            throw ELineManagerError(QStringLiteral("org.freedesktop.DBus.Error.NoReply"),
                                    QStringLiteral("ConvertNumber: no answer"));
        if (style == 2 && number.startsWith(u'0') && !number.startsWith(QStringLiteral("00")))
            return QStringLiteral("+49") + number.mid(1);
        return number;
    }

    QVariantMap GetNotificationCall() override { return notificationCall; }
    void PickupGroupNotificationCall(int lineIndex) override { Record(QStringLiteral("Pickup"), lineIndex); }
    void HookOff(int lineIndex) override { Record(QStringLiteral("HookOff"), lineIndex); }
    void HookOn(int lineIndex) override { Record(QStringLiteral("HookOn"), lineIndex); }
    void Dial(int lineIndex, const QString& digits) override { Record(QStringLiteral("Dial ") + digits, lineIndex); }
    int MakeCall(int lineIndex, const QString& number) override
    {
        Record(QStringLiteral("MakeCall ") + number, lineIndex);
        return lineIndex == -1 ? 0 : lineIndex;
    }

    void Notify(int eventMsg, int eventParam)
    {
        QMetaObject::invokeMethod(
            this, [this, eventMsg, eventParam] { emit LineMgrNotification(eventMsg, eventParam); },
            Qt::QueuedConnection);
    }

    // Sets the line's state and announces it, as the softphone does on a state change.
    void ChangeState(int lineIndex, int state)
    {
        lines[lineIndex][QStringLiteral("DispState")] = state;
        Notify(CLMgrLineStateChangedMessageEx, (state << 8) | lineIndex);
    }

    static void Deliver() { QCoreApplication::processEvents(); }

private:
    void Record(const QString& operation, int lineIndex)
    {
        operations.append(operation + QStringLiteral(" ") + QString::number(lineIndex));
    }
};
