// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipLineManager.h"

#include "BaresipControl.h"
#include "LineCalls.h"
#include "LineSimError.h"
#include "SoftphoneModel.h"

#include <algorithm>

namespace {

// baresip's answer to a call-control command, as the line manager's caller learns it.
BaresipControl::Reply toOutcome(const LineManager::Outcome& outcome, const QString& action)
{
    return [outcome, action](bool ok, const QString& data) {
        if (!outcome)
            return;
        if (ok)
            outcome(std::nullopt);
        else
            outcome(SoftphoneError(SoftphoneError::Kind::Refused, QStringLiteral("cannot %1: %2").arg(action, data)));
    };
}

} // namespace

BaresipLineManager::BaresipLineManager(SoftphoneModel& model, LineCalls& calls, BaresipControl& control,
                                       QObject* parent)
    : LineManager(parent)
    , m_model(model)
    , m_calls(calls)
    , m_control(control)
{
    connect(&model, &LineManager::LineMgrNotification, this, &LineManager::LineMgrNotification);
}

QVariantMap BaresipLineManager::GetLine(int lineIndex) const
{
    return m_model.GetLine(lineIndex);
}

QString BaresipLineManager::ConvertNumber(int style, const QString& number) const
{
    return m_model.ConvertNumber(style, number);
}

QVariantMap BaresipLineManager::GetNotificationCall() const
{
    return m_model.GetNotificationCall();
}

void BaresipLineManager::PickupGroupNotificationCall(int lineIndex)
{
    // baresip signals no group calls; the model refuses with "no group call is signalled".
    m_model.PickupGroupNotificationCall(lineIndex);
}

void BaresipLineManager::HookOff(int lineIndex)
{
    requestHookOff(lineIndex, {});
}

void BaresipLineManager::HookOn(int lineIndex)
{
    requestHookOn(lineIndex, {});
}

void BaresipLineManager::Dial(int lineIndex, const QString& digits)
{
    requestDial(lineIndex, digits, {});
}

void BaresipLineManager::requestHookOff(int lineIndex, const Outcome& outcome)
{
    const QString action = QStringLiteral("take the call");
    m_control.sendOnCall(callIdIn(lineIndex, {SoftphoneModel::LSRinging}, action), QStringLiteral("accept"), {},
                         toOutcome(outcome, action));
}

void BaresipLineManager::requestHookOn(int lineIndex, const Outcome& outcome)
{
    const QString action = QStringLiteral("end the call");
    const QString callId = callIdIn(lineIndex,
                                    {SoftphoneModel::LSRinging, SoftphoneModel::LSDialing, SoftphoneModel::LSAlerting,
                                     SoftphoneModel::LSBusy, SoftphoneModel::LSActive, SoftphoneModel::LSOnHold},
                                    action);
    m_calls.markHungUpHere(lineIndex);
    m_control.sendOnCall(callId, QStringLiteral("hangup"), {}, toOutcome(outcome, action));
}

void BaresipLineManager::requestDial(int lineIndex, const QString& digits, const Outcome& outcome)
{
    const QString action = QStringLiteral("dial");
    const QString callId = callIdIn(lineIndex, {SoftphoneModel::LSActive}, action);
    // The model checks the digits and keeps them as the line's sent DTMF.
    m_model.Dial(lineIndex, digits);
    m_control.sendOnCall(callId, QStringLiteral("sndcode"), digits.toUpper(), toOutcome(outcome, action));
}

int BaresipLineManager::MakeCall(int lineIndex, const QString& number)
{
    if (!SoftphoneModel::isDialable(number)) {
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidArgument,
            QStringLiteral("'%1' is no number to dial (digits, * and #, optionally after a leading +)").arg(number));
    }
    // baresip's outgoing call takes the first idle line when it reports itself, so no other line can be promised.
    const int idle = m_model.idleLine(QStringLiteral("place a call on"));
    if (lineIndex != -1 && lineIndex != idle) {
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidArgument,
            QStringLiteral("calls go out on the first idle line, line %1, not line %2").arg(idle).arg(lineIndex));
    }
    // baresip completes a bare number with the account's domain; the checked text holds no blank or URI syntax.
    m_control.send(QStringLiteral("dial"), number);
    return idle;
}

QString BaresipLineManager::callIdIn(int lineIndex, std::initializer_list<int> states, const QString& action) const
{
    const int state = m_model.lineState(lineIndex); // throws NoSuchLine
    const QString callId = m_calls.callIdOn(lineIndex);
    if (callId.isEmpty())
        throw SoftphoneError(SoftphoneError::Kind::NoCall, QStringLiteral("line %1 has no call").arg(lineIndex));
    if (std::find(states.begin(), states.end(), state) == states.end()) {
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidState,
            QStringLiteral("line %1 is %2, cannot %3").arg(lineIndex).arg(SoftphoneModel::stateName(state), action));
    }
    return callId;
}
