#pragma once

#include "model/BaseList.h"
#include "model/CallOptions.h"

/**
 * @brief A user's rule: when to react (event kind, situations, origin, number
 * patterns) and which action sequences to run.
 *
 * Its items refer to TActionSequence objects owned by the model's sequence
 * list, in execution order; the rule never frees them. Pattern lists are
 * ";"-separated wildcard patterns.
 */
class TRule : public TBaseList
{
    Q_OBJECT
    Q_PROPERTY(TCallOptionBaseSet CallOptionBase MEMBER FCallOptionBase)
    Q_PROPERTY(TCallOptionInExSet CallOptionInEx MEMBER FCallOptionInEx)
    Q_PROPERTY(TCallOptionInSet CallOptionIn MEMBER FCallOptionIn)
    Q_PROPERTY(TCallOptionOutSet CallOptionOut MEMBER FCallOptionOut)
    Q_PROPERTY(TCallOptionInNumberSet CallOptionInNumber MEMBER FCallOptionInNumber)
    Q_PROPERTY(TCallOptionOutNumberSet CallOptionOutNumber MEMBER FCallOptionOutNumber)
    Q_PROPERTY(TCallOptionNotificationNumberSet CallOptionNotificationNumber MEMBER FCallOptionNotificationNumber)
    Q_PROPERTY(QString FromNumberIn MEMBER FFromNumberIn)
    Q_PROPERTY(QString ToExtensionNumberIn MEMBER FToExtensionNumberIn)
    Q_PROPERTY(QString ToNumberOut MEMBER FToNumberOut)
    Q_PROPERTY(QString FromExtensionNumberOut MEMBER FFromExtensionNumberOut)
    Q_PROPERTY(QString NotificationNumberIn MEMBER FNotificationNumberIn)
    Q_PROPERTY(QString NotificationNumberTo MEMBER FNotificationNumberTo)

public:
    TRule();

    KESTRUN_FIELD(TCallOptionBaseSet, CallOptionBase)
    KESTRUN_FIELD(TCallOptionInExSet, CallOptionInEx)
    KESTRUN_FIELD(TCallOptionInSet, CallOptionIn)
    KESTRUN_FIELD(TCallOptionOutSet, CallOptionOut)
    KESTRUN_FIELD(TCallOptionInNumberSet, CallOptionInNumber)
    KESTRUN_FIELD(TCallOptionOutNumberSet, CallOptionOutNumber)
    KESTRUN_FIELD(TCallOptionNotificationNumberSet, CallOptionNotificationNumber)
    // Caller number of an incoming call.
    KESTRUN_FIELD(QString, FromNumberIn)
    // Own extension called by an incoming call.
    KESTRUN_FIELD(QString, ToExtensionNumberIn)
    // Number called by an outgoing call.
    KESTRUN_FIELD(QString, ToNumberOut)
    // Own extension placing an outgoing call.
    KESTRUN_FIELD(QString, FromExtensionNumberOut)
    // Caller number of a signalled group call.
    KESTRUN_FIELD(QString, NotificationNumberIn)
    // Extension a signalled group call is for.
    KESTRUN_FIELD(QString, NotificationNumberTo)

    // Runs the rule's sequences, in order, on the rule's line object.
    void ExecuteRule();
};
