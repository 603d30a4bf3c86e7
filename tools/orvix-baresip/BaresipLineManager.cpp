#include "BaresipLineManager.h"

#include "BaresipControl.h"
#include "LineCalls.h"
#include "LineSimError.h"
#include "SoftphoneModel.h"

#include <algorithm>

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
    m_control.sendOnCall(callIdIn(lineIndex, {SoftphoneModel::LSRinging}, QStringLiteral("take the call")),
                         QStringLiteral("accept"));
}

void BaresipLineManager::HookOn(int lineIndex)
{
    const QString callId = callIdIn(lineIndex,
                                    {SoftphoneModel::LSRinging, SoftphoneModel::LSDialing, SoftphoneModel::LSAlerting,
                                     SoftphoneModel::LSBusy, SoftphoneModel::LSActive, SoftphoneModel::LSOnHold},
                                    QStringLiteral("end the call"));
    m_calls.markHungUpHere(lineIndex);
    m_control.sendOnCall(callId, QStringLiteral("hangup"));
}

void BaresipLineManager::Dial(int lineIndex, const QString& digits)
{
    const QString callId = callIdIn(lineIndex, {SoftphoneModel::LSActive}, QStringLiteral("dial"));
    // The model checks the digits and keeps them as the line's sent DTMF.
    m_model.Dial(lineIndex, digits);
    m_control.sendOnCall(callId, QStringLiteral("sndcode"), digits.toUpper());
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
