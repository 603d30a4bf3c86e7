// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/OrvixLine.h"

#include "platform/KestrunError.h"
#include "telephony/ClientLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"
#include "trace/Trace.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

// The style in which numbers are stored and matched.
constexpr int CanonicalNumberStyle = 2;

void SetIfNotEmpty(QString& field, const QString& value)
{
    if (!value.isEmpty())
        field = value;
}

void SetIfPositive(TDateTime& field, TDateTime value)
{
    if (value > 0)
        field = value;
}

} // namespace

TOrvixLine::TOrvixLine()
{
    for (int i = 0; i < CustomVariableCount; ++i) {
        const QString name = QStringLiteral("Custom") + QString::number(i);
        m_temporaryVariables.insert(name, TUserVariable(name, {}));
    }
}

TOrvixLine::~TOrvixLine()
{
    StopFollowingLine();
}

QStringList TOrvixLine::DefaultLineStatesPossible()
{
    return {QStringLiteral("LSInactive"), QStringLiteral("LSRinging"),   QStringLiteral("LSDialing"),
            QStringLiteral("LSAlerting"), QStringLiteral("LSKnocking"),  QStringLiteral("LSBusy"),
            QStringLiteral("LSActive"),   QStringLiteral("LSTerminated")};
}

void TOrvixLine::SetUserVariable(const QString& name, const QString& value)
{
    m_temporaryVariables.insert(name, TUserVariable(name, value));
}

QString TOrvixLine::GetUserVariableResult(const QString& variable) const
{
    const auto found = m_temporaryVariables.constFind(variable);
    return found != m_temporaryVariables.cend() ? found->Value() : QString();
}

void TOrvixLine::SetClientLineMgr(std::shared_ptr<TClientLineMgr> clientLineMgr)
{
    if (clientLineMgr == m_clientLineMgr)
        return;
    StopFollowingLine();
    const bool callEnds = m_clientLineMgr && !clientLineMgr && FLineStateTerminated;
    m_clientLineMgr = std::move(clientLineMgr);
    if (callEnds && m_callEndObserver)
        std::exchange(m_callEndObserver, {})(*this);
}

void TOrvixLine::FollowLine(std::shared_ptr<TClientLineMgr> clientLineMgr)
{
    SetClientLineMgr(std::move(clientLineMgr));
    if (!m_clientLineMgr || FIsTestMode)
        return;
    m_clientLineMgr->SetOnDispOnLineMgrNotification([this](TClientLineMgr* sender, int eventMsg, int eventParam) {
        ClientLineMgrNotification(sender, eventMsg, eventParam);
    });
    m_followsLine = true;
}

// A private line manager may outlive this object for a moment (its release can
// be deferred to the event loop); it must not call back into it.
void TOrvixLine::StopFollowingLine()
{
    if (m_followsLine && m_clientLineMgr)
        m_clientLineMgr->SetOnDispOnLineMgrNotification({});
    m_followsLine = false;
}

TClientLineMgr& TOrvixLine::LineManager() const
{
    if (!m_clientLineMgr)
        throw EKestrunError(QStringLiteral("Line %1 has no line manager.").arg(FLineIndex));
    return *m_clientLineMgr;
}

bool TOrvixLine::RecordLineState(const QString& lineState, const QString& titlePrefix)
{
    FLineState = lineState;
    FLineStateHistory.append(lineState);
    if (!m_callSeenAt.isValid() && lineState != QLatin1StringView("LSInactive"))
        m_callSeenAt = QDateTime::currentDateTime();
    MarkChanged();
    Trace::Strings(titlePrefix + QStringLiteral("Line state history"), FLineStateHistory);
    if (!FLineStatesPossible.contains(lineState))
        return false;
    Trace::Message(titlePrefix + QStringLiteral("Direct call"));
    FLineStateQueue.append(lineState);
    MarkChanged();
    return true;
}

void TOrvixLine::ReadDispProperties(TClientLine& line, TClientLineMgr& manager)
{
    const auto converted = [&manager](const QString& number) {
        return number.isEmpty() ? number : manager.DispConvertNumber(CanonicalNumberStyle, number);
    };
    // The conversions go to the softphone and may fail; they come first, so that a failing one
    // leaves every field as it was.
    const QString peerNumber = converted(line.DispPeerNumber());
    const QString redirectedFromNumber = converted(line.DispRedirectedFromNumber());
    const QString lastCallPeersNumber = converted(line.DispLastCallPeersNumber());
    FState = line.DispState();
    SetIfNotEmpty(FAcknowledgedDialstring, line.DispAcknowledgedDialstring());
    SetIfNotEmpty(FCallerNumber, peerNumber);
    SetIfNotEmpty(FCallerName, line.DispPeerName());
    SetIfNotEmpty(FCalledExtension, line.DispCalledExtension());
    SetIfNotEmpty(FCalledName, line.DispCalledName());
    FIsDirectCall = line.DispIsDirectCall();
    FCallWasRedirected = line.DispCallWasRedirected();
    FIsGroupCall = line.DispIsGroupCall();
    SetIfNotEmpty(FRedirectedFromNumber, redirectedFromNumber);
    SetIfNotEmpty(FRedirectedFromName, line.DispRedirectedFromName());
    SetIfNotEmpty(FChargingDetails, line.DispChargingDetails());
    FNumberOfConferenceParticipants = line.DispNuberOfConferenceParticipants();
    FDiscReason = line.DispDiscReason();
    SetIfPositive(FConnectionStartTime, line.DispConnectionStartTime());
    SetIfPositive(FConnectionFinishedTime, line.DispConnectionFinishedTime());
    SetIfNotEmpty(FLastCallLcrPrefix, line.DispLastCallLcrPrefix());
    SetIfNotEmpty(FLastCallExtension, line.DispLastCallExtension());
    SetIfNotEmpty(FLastCallChargingDetails, line.DispLastCallChargingDetails());
    SetIfNotEmpty(FLastCallPeersPbxUserName, line.DispLastCallPeersPbxUserName());
    SetIfNotEmpty(FLastCallPeersNumber, lastCallPeersNumber);
    SetIfPositive(FLastCallStartTime, line.DispLastCallStartTime());
    SetIfPositive(FLastCallFinishedTime, line.DispLastCallFinishedTime());
    SetIfNotEmpty(FIncomingExtension, line.DispCalledExtension());
    SetIfNotEmpty(FOutgoingExtension, line.DispGetOutgoingExtension());
    FIsOutgoingCall = line.DispIsOutgoingCall();
    FLastCallIsOutgoingCall = line.DispLastCallIsOutgoingCall();
    FLastCallDiscReason = line.DispLastCallDiscReason();
    FLastCallWasConnected = line.DispLastCallWasConnected();
    FLastCallId = line.DispLastCallId();
    SetIfNotEmpty(FReceivedDtmfDigits, line.DispReceivedDtmfDigits());
    SetIfNotEmpty(FPeerNumberPublicFormat, line.DispPeerNumberPublicFormat());
    SetIfNotEmpty(FLastCallCalledExtension, line.DispLastCallCalledExtension());
    SetIfNotEmpty(FLastCallCalledName, line.DispLastCallCalledName());

    // A line that has gone idle reports call id 0: a state read that late (a rule was
    // still running) still belongs to the call the object knows.
    if (line.DispCallId() > 0 || (FCallId <= 0 && line.DispIsOutgoingCall() != 0))
        FCallId = line.DispCallId();
    if (m_ownCallId <= 0 && FCallId > 0)
        m_ownCallId = FCallId;
    // An outgoing call's called number is the dialled string.
    if (!line.DispAcknowledgedDialstring().isEmpty())
        FCalledNumber = line.DispAcknowledgedDialstring();
    MarkChanged();
}

// The connection period runs from the connection's start to its end. A finished
// time earlier than the start belongs to the line's previous call and is not taken.
void TOrvixLine::DeriveConnectionPeriod(const TClientLine& line)
{
    if (FConnectionStartTime > 0)
        FConnectionStartDateTime = FConnectionStartTime;
    const TDateTime finished = std::max(line.DispConnectionFinishedTime(), line.DispLastCallFinishedTime());
    if (finished > 0 && finished >= FConnectionStartDateTime)
        FConnectionFinishedDateTime = finished;
    if (FConnectionStartDateTime <= 0)
        FConnectionFinishedDateTime = 0;
    FConnectionDurationTime = FConnectionStartDateTime > 0 && FConnectionStartDateTime < FConnectionFinishedDateTime
        ? FConnectionFinishedDateTime - FConnectionStartDateTime
        : 0;
    MarkChanged();
}

void TOrvixLine::GetLineInfos(bool executeActions)
{
    GetLineInfos(executeActions, *LineManager().DispGetLine(FLineIndex));
}

void TOrvixLine::GetLineInfos(bool executeActions, TClientLine& reported)
{
    TClientLineMgr& manager = LineManager();
    const TClientLineDetails details = reported.PubGetDetails();

    if (reported.HasDisp()) {
        ReadDispProperties(reported, manager);
        DeriveConnectionPeriod(reported);
        Trace::Object("OrvixLine::GetLineInfos:OrvixLine (complete)", this);
    }

    // The first value seen for a call stays.
    if (FCallId != -1) {
        if (FIsDirectCall == -1)
            SetIsDirectCall(reported.DispIsDirectCall());
        if (FCallWasRedirected == -1)
            SetCallWasRedirected(reported.DispCallWasRedirected());
        if (FIsGroupCall == -1)
            SetIsGroupCall(reported.DispIsGroupCall());
        if (FIsOutgoingCall == -1)
            SetIsOutgoingCall(reported.DispIsOutgoingCall());
        if (FIsInternalCall == -1)
            SetIsInternalCall(details.m_bIsInternalCall);
    }

    Trace::Value("OrvixLine::GetLineInfos:CallerName", FCallerName);
    Trace::Value("OrvixLine::GetLineInfos:CallerNumber", FCallerNumber);
    Trace::Value("OrvixLine::GetLineInfos:CalledExtension", FCalledExtension);
    Trace::Value("OrvixLine::GetLineInfos:RedirectedFromName", FRedirectedFromName);
    Trace::Value("OrvixLine::GetLineInfos:RedirectedFromNumber", FRedirectedFromNumber);
    Trace::Value("OrvixLine::GetLineInfos:OutgoingExtension", FOutgoingExtension);
    Trace::Value("OrvixLine::GetLineInfos:IsOutgoingCall", FIsOutgoingCall);
    Trace::Value("OrvixLine::GetLineInfos:IsInternalCall", FIsInternalCall);
    Trace::Value("OrvixLine::GetLineInfos:IsNotificationCall", FIsNotificationCall);
    Trace::Value("OrvixLine::GetLineInfos:IsTransferredCall", FIsTransferredCall);
    Trace::Value("OrvixLine::GetLineInfos:CallID", FCallId);
    Trace::Strings(QStringLiteral("OrvixLine::GetLineInfos:Queued events:") + QString::number(FLineStateQueue.size()),
                   FLineStateQueue);
    RecordQueuedCallData();

    if (m_executingRules) {
        // The run further up the call stack drains the queue, this state included.
        Trace::Message("OrvixLine::GetLineInfos:Execution in process, skip execution");
        return;
    }
    DrainStateQueue(executeActions);
}

void TOrvixLine::DrainStateQueue(bool executeActions)
{
    // Cleared also when a rule run throws: a line whose flag stayed set would
    // queue its states for ever without running them.
    const QScopedValueRollback executing(m_executingRules, true);
    while (!FLineStateQueue.isEmpty()) {
        const QString state = FLineStateQueue.takeFirst();
        const std::shared_ptr<TOrvixLine> callData =
            m_queuedCallData.isEmpty() ? nullptr : m_queuedCallData.takeFirst();
        MarkChanged();
        Trace::Value("OrvixLine::GetLineInfos:Line state", state);
        if (state != QLatin1StringView("LSInactive") && state != FLastLineState && !FLineStateTerminated &&
            executeActions) {
            // The state's bookkeeping below must happen all the same: a run failing at "LSTerminated"
            // would otherwise leave the line open, and the next call would find it.
            try {
                ExecuteRules(state, callData ? *callData : *this);
            } catch (const std::exception& error) {
                Trace::Exception("OrvixLine::ExecuteRules", error);
            }
        }
        if (state == QLatin1StringView("LSInactive") && FLastLineState == QLatin1StringView("LSRinging")) {
            Trace::Message("OrvixLine::GetLineInfos:Call aborted, setting terminated flag");
            SetLineStateTerminated(true);
        }
        if (state == QLatin1StringView("LSTerminated")) {
            Trace::Message("OrvixLine::GetLineInfos:Call terminated, setting terminated flag");
            SetLineStateTerminated(true);
        }
        if (state == QLatin1StringView("LSInactive") && FLineStateTerminated) {
            Trace::Message("OrvixLine::GetLineInfos:Clearing line");
            SetClientLineMgr(nullptr);
        }
        SetLastLineState(state);
    }
}

void TOrvixLine::GetChangedLineInfos(bool executeActions)
{
    TClientLineMgr& manager = LineManager();
    const std::unique_ptr<TClientLine> line = manager.DispGetLine(FLineIndex);
    if (!line->HasDisp() ||
        (FLineState != QLatin1StringView("LSActive") && FLineState != QLatin1StringView("LSRinging")))
        return;

    const QString peerName = line->DispPeerName();
    const QString peerNumber = line->DispPeerNumber();
    // The stored number is in the canonical form, so the new one is compared in that form too:
    // a number merely written differently is no transfer.
    const QString convertedNumber =
        peerNumber.isEmpty() ? peerNumber : manager.DispConvertNumber(CanonicalNumberStyle, peerNumber);
    if (peerName == FCallerName && convertedNumber == FCallerNumber)
        return;
    if (peerName.isEmpty() && peerNumber.isEmpty())
        return;

    Trace::Message("OrvixLine::GetChangedLineInfos:Transferred call detected");
    SetIsTransferredCall(true);
    SetCallerName(peerName);
    SetCallerNumber(convertedNumber);
    Trace::Value("OrvixLine::GetChangedLineInfos:CallerName", FCallerName);
    Trace::Value("OrvixLine::GetChangedLineInfos:CallerNumber", FCallerNumber);
    if (executeActions)
        ExecuteRules(QStringLiteral("LSTransferred"));
}

void TOrvixLine::GetNotificationCallInfos(bool executeActions)
{
    TClientLineMgr& manager = LineManager();
    const auto converted = [&manager](const QString& number) {
        return number.isEmpty() ? number : manager.DispConvertNumber(CanonicalNumberStyle, number);
    };
    // Everything is read before anything is set: a call that fails leaves the line as it was.
    const QString callerName = manager.DispNotificationCallPeerName();
    const QString callerNumber = converted(manager.DispNotificationCallPeerNumber());
    const QString calledName = manager.DispNotificationCallCalledName();
    const QString calledExtension = manager.DispNotificationCallCalledExtension();
    const QString redirectedFromName = manager.DispNotificationCallRedirectedFromName();
    const QString redirectedFromNumber = converted(manager.DispNotificationCallRedirectedFromNumber());
    SetIsNotificationCall(true);
    SetIfNotEmpty(FNotificationCallerName, callerName);
    SetIfNotEmpty(FNotificationCallerNumber, callerNumber);
    SetIfNotEmpty(FNotificationCalledName, calledName);
    SetIfNotEmpty(FNotificationCalledExtension, calledExtension);
    SetIfNotEmpty(FNotificationCallRedirectedFromName, redirectedFromName);
    SetIfNotEmpty(FNotificationCallRedirectedFromNumber, redirectedFromNumber);
    MarkChanged();

    Trace::Value("OrvixLine::GetLineInfos:NotificationCallerName", FNotificationCallerName);
    Trace::Value("OrvixLine::GetLineInfos:NotificationCallerNumber", FNotificationCallerNumber);
    Trace::Value("OrvixLine::GetLineInfos:NotificationCalledExtension", FNotificationCalledExtension);
    Trace::Value("OrvixLine::GetLineInfos:NotificationRedirectedFromName", FNotificationCallRedirectedFromName);
    Trace::Value("OrvixLine::GetLineInfos:NotificationRedirectedFromNumber", FNotificationCallRedirectedFromNumber);
    if (executeActions)
        ExecuteRules(QStringLiteral("LSNotification"));
}

void TOrvixLine::ClientLineMgrNotification(TClientLineMgr* sender, int eventMsg, int eventParam)
{
    if (eventMsg != CLMgrLineStateChangedMessageEx && eventMsg != CLMgrLineDetailsChangedMessage &&
        eventMsg != CLMgrGroupCallNotificationMessage)
        return;
    if (FIsTestMode) {
        SetLineStateTerminated(true);
        if (sender)
            sender->SetOnDispOnLineMgrNotification({});
        m_followsLine = false;
        Trace::Message("OrvixLine::ClientLineMgrNotification:Running in test mode, ignoring event...");
        return;
    }
    // After its call was cleared the snapshot has nothing left to follow.
    if (!m_clientLineMgr)
        return;
    Trace::Message(DescribeLineMgrEvent(QStringLiteral("OrvixLine::ClientLineMgrNotification:"), eventMsg, eventParam));
    if (EventLineIndex(eventParam) != FLineIndex)
        return;

    switch (eventMsg) {
    case CLMgrLineStateChangedMessageEx:
        if (RecordLineState(LineStateName(EventStateCode(eventParam)),
                            QStringLiteral("OrvixLine::ClientLineMgrNotification:")))
            GetLineInfos(false);
        break;
    case CLMgrLineDetailsChangedMessage:
        GetChangedLineInfos(false);
        break;
    case CLMgrGroupCallNotificationMessage:
        if (eventParam == 1) {
            Trace::Message("OrvixLine::ClientLineMgrNotification:Notification call");
            GetNotificationCallInfos(false);
        }
        break;
    default:
        break;
    }
}

void TOrvixLine::ExecuteRules(const QString& currentLineState)
{
    ExecuteRules(currentLineState, *this);
}

void TOrvixLine::ExecuteRules(const QString& currentLineState, TOrvixLine& callData)
{
    Trace::Object("OrvixLine::ExecuteRules:OrvixLine", &callData);
    if (!m_ruleRunner)
        return;
    const qsizetype firedBefore = callData.FiredRules().size();
    m_ruleRunner(callData, currentLineState);
    // A state that waited in the queue ran on the data of its moment; the call's record is kept here.
    if (&callData != this) {
        for (qsizetype i = firedBefore; i < callData.FiredRules().size(); ++i)
            NoteRuleFired(callData.FiredRules().at(i));
    }
}

void TOrvixLine::RecordQueuedCallData()
{
    // The queue may have been changed from outside (a copy assigned to it).
    while (m_queuedCallData.size() > FLineStateQueue.size())
        m_queuedCallData.removeFirst();
    if (m_queuedCallData.size() == FLineStateQueue.size())
        return;
    auto callData = std::make_shared<TOrvixLine>();
    callData->Assign(this);
    // Matching converts numbers through the line manager.
    callData->SetClientLineMgr(m_clientLineMgr);
    while (m_queuedCallData.size() < FLineStateQueue.size())
        m_queuedCallData.append(callData);
}
