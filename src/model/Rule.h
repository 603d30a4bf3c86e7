// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseList.h"
#include "model/CallOptions.h"
#include "model/RunOutcome.h"

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
    Q_PROPERTY(TCallOptionBaseSet CallOptionBase READ CallOptionBase WRITE SetCallOptionBase)
    Q_PROPERTY(TCallOptionInExSet CallOptionInEx READ CallOptionInEx WRITE SetCallOptionInEx)
    Q_PROPERTY(TCallOptionInSet CallOptionIn READ CallOptionIn WRITE SetCallOptionIn)
    Q_PROPERTY(TCallOptionOutSet CallOptionOut READ CallOptionOut WRITE SetCallOptionOut)
    Q_PROPERTY(TCallOptionInNumberSet CallOptionInNumber READ CallOptionInNumber WRITE SetCallOptionInNumber)
    Q_PROPERTY(TCallOptionOutNumberSet CallOptionOutNumber READ CallOptionOutNumber WRITE SetCallOptionOutNumber)
    Q_PROPERTY(TCallOptionNotificationNumberSet CallOptionNotificationNumber READ CallOptionNotificationNumber WRITE
                   SetCallOptionNotificationNumber)
    Q_PROPERTY(QString FromNumberIn READ FromNumberIn WRITE SetFromNumberIn)
    Q_PROPERTY(QString ToExtensionNumberIn READ ToExtensionNumberIn WRITE SetToExtensionNumberIn)
    Q_PROPERTY(QString ToNumberOut READ ToNumberOut WRITE SetToNumberOut)
    Q_PROPERTY(QString FromExtensionNumberOut READ FromExtensionNumberOut WRITE SetFromExtensionNumberOut)
    Q_PROPERTY(QString NotificationNumberIn READ NotificationNumberIn WRITE SetNotificationNumberIn)
    Q_PROPERTY(QString NotificationNumberTo READ NotificationNumberTo WRITE SetNotificationNumberTo)

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

    // Runs the rule's sequences, in order, on the call snapshot given; the rule
    // itself keeps nothing of the run.
    TRunOutcome ExecuteRule(const std::shared_ptr<TOrvixLine>& line);
};
