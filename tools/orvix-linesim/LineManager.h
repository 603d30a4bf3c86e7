// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "LineSimError.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

/**
 * @brief The softphone's line manager as it is offered on the bus, whatever drives the lines behind it.
 *
 * The simulated softphone answers these operations from its model; the SIP
 * bridge answers the reading ones the same way and turns the call-control ones
 * into commands for the real softphone. Refused operations throw SoftphoneError.
 * Every change is announced through LineMgrNotification with the line manager's
 * event codes (SoftphoneModel::EventMsg).
 */
class LineManager : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QVariantMap GetLine(int lineIndex) const = 0;
    virtual QString ConvertNumber(int style, const QString& number) const = 0;
    virtual QVariantMap GetNotificationCall() const = 0;
    // lineIndex -1: the first idle line.
    virtual void PickupGroupNotificationCall(int lineIndex) = 0;
    virtual void HookOff(int lineIndex) = 0;
    virtual void HookOn(int lineIndex) = 0;
    virtual void Dial(int lineIndex, const QString& digits) = 0;
    // Places an outgoing call to the number on the line (-1: the first idle line) and answers the line used.
    virtual int MakeCall(int lineIndex, const QString& number) = 0;

    // How call control ended: nothing when it was done, else why the softphone refused it.
    using Outcome = std::function<void(const std::optional<SoftphoneError>& refusal)>;

    // Call control that a real softphone confirms only after a while. What is refused at once throws,
    // as above; the rest reaches `outcome` (which the bus object turns into its reply to the caller).
    // By default the operation is done when it returns.
    virtual void requestHookOff(int lineIndex, const Outcome& outcome)
    {
        HookOff(lineIndex);
        outcome(std::nullopt);
    }
    virtual void requestHookOn(int lineIndex, const Outcome& outcome)
    {
        HookOn(lineIndex);
        outcome(std::nullopt);
    }
    virtual void requestDial(int lineIndex, const QString& digits, const Outcome& outcome)
    {
        Dial(lineIndex, digits);
        outcome(std::nullopt);
    }

signals:
    void LineMgrNotification(int eventMsg, int eventParam);
};
