#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

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

signals:
    void LineMgrNotification(int eventMsg, int eventParam);
};
