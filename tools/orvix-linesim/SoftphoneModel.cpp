// SPDX-License-Identifier: GPL-3.0-or-later

#include "SoftphoneModel.h"

#include <QTimer>

#include "LineSimError.h"

#include <QMetaEnum>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

QString describeState(int state)
{
    static const char* const descriptions[] = {"idle",
                                               "off hook (internal)",
                                               "off hook (external)",
                                               "ringing",
                                               "dialing",
                                               "alerting",
                                               "knocking",
                                               "busy",
                                               "active",
                                               "on hold",
                                               "in an active conference",
                                               "in a held conference",
                                               "terminated",
                                               "in a direct call"};
    if (state < 0 || state >= static_cast<int>(std::size(descriptions)))
        return QStringLiteral("in state %1").arg(state);
    return QLatin1String(descriptions[state]);
}

bool isDtmfDigit(QChar c)
{
    return c.isDigit() || c == u'*' || c == u'#' || (c >= u'A' && c <= u'D');
}

} // namespace

SoftphoneModel::SoftphoneModel(int lineCount, NumberConverter converter, QObject* parent)
    : LineManager(parent)
    , m_converter(std::move(converter))
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    if (lineCount < 1 || lineCount > MaxLines) {
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidArgument,
            QStringLiteral("invalid number of lines %1 (expected 1..%2)").arg(lineCount).arg(MaxLines));
    }
    m_lines.resize(static_cast<size_t>(lineCount));
}

int SoftphoneModel::lineState(int lineIndex) const
{
    return line(lineIndex).state;
}

QString SoftphoneModel::stateName(int state)
{
    const char* key = QMetaEnum::fromType<LineState>().valueToKey(state);
    return key ? QLatin1String(key) : QStringLiteral("LS%1").arg(state);
}

QString SoftphoneModel::describeNotification(int eventMsg, int eventParam)
{
    switch (eventMsg) {
    case EventLineState:
        return QStringLiteral("line %1: %2").arg(eventParam & 0xFF).arg(stateName(eventParam >> 8));
    case EventLineDetails:
        return QStringLiteral("line %1: call details changed").arg(eventParam);
    case EventGroupCall:
        return eventParam ? QStringLiteral("group call signalled") : QStringLiteral("group call withdrawn");
    default:
        return QStringLiteral("notification %1 %2").arg(eventMsg).arg(eventParam);
    }
}

double SoftphoneModel::dayNumber(const QDateTime& time)
{
    static const QDate epoch(1899, 12, 30);
    return static_cast<double>(epoch.daysTo(time.date())) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

QVariantMap SoftphoneModel::GetLine(int lineIndex) const
{
    const Line& l = line(lineIndex);
    static const Call none = [] {
        Call call;
        call.isOutgoing = -1;
        call.isGroupCall = -1;
        return call;
    }();
    const Call& c = l.call ? *l.call : none;
    const int flagUnknown = l.call ? 0 : -1;
    const LastCall last = l.last.value_or(LastCall {});

    return {
        {QStringLiteral("DispState"), l.state},
        {QStringLiteral("DispCallId"), c.id},
        {QStringLiteral("DispPeerNumber"), c.peerNumber},
        {QStringLiteral("DispPeerName"), c.peerName},
        {QStringLiteral("DispCalledExtension"), c.calledExtension},
        {QStringLiteral("DispCalledName"), c.calledName},
        {QStringLiteral("DispAcknowledgedDialstring"), c.acknowledgedDialstring},
        {QStringLiteral("DispIsDirectCall"), flagUnknown},
        // Only a picked-up group call can arrive redirected here, and it always brings the number it came from.
        {QStringLiteral("DispCallWasRedirected"), l.call ? int(!c.redirectedFromNumber.isEmpty()) : -1},
        {QStringLiteral("DispIsGroupCall"), c.isGroupCall},
        {QStringLiteral("DispRedirectedFromNumber"), c.redirectedFromNumber},
        {QStringLiteral("DispRedirectedFromName"), c.redirectedFromName},
        {QStringLiteral("DispChargingDetails"), QString()},
        {QStringLiteral("DispNuberOfConferenceParticipants"), 0},
        {QStringLiteral("DispDiscReason"), c.discReason},
        {QStringLiteral("DispConnectionStartTime"), c.connectionStart},
        {QStringLiteral("DispConnectionFinishedTime"), c.connectionFinished},
        {QStringLiteral("DispLastCallLcrPrefix"), QString()},
        {QStringLiteral("DispLastCallExtension"), last.extension},
        {QStringLiteral("DispLastCallChargingDetails"), QString()},
        {QStringLiteral("DispLastCallPeersPbxUserName"), last.peersName},
        {QStringLiteral("DispLastCallPeersNumber"), last.peersNumber},
        {QStringLiteral("DispLastCallStartTime"), last.start},
        {QStringLiteral("DispLastCallFinishedTime"), last.finished},
        {QStringLiteral("DispGetOutgoingExtension"), c.outgoingExtension},
        {QStringLiteral("DispIsOutgoingCall"), c.isOutgoing},
        {QStringLiteral("DispLastCallIsOutgoingCall"), last.isOutgoing},
        {QStringLiteral("DispLastCallDiscReason"), last.discReason},
        {QStringLiteral("DispLastCallWasConnected"), last.wasConnected},
        {QStringLiteral("DispLastCallId"), last.id},
        {QStringLiteral("DispReceivedDtmfDigits"), c.receivedDtmf},
        {QStringLiteral("DispPeerNumberPublicFormat"), l.call ? m_converter.canonical(c.peerNumber) : QString()},
        {QStringLiteral("DispLastCallCalledExtension"), last.calledExtension},
        {QStringLiteral("DispLastCallCalledName"), last.calledName},
        {QStringLiteral("m_bIsInternalCall"), c.internal},
        {QLatin1String(SentDtmfKey), l.sentDtmf},
    };
}

QString SoftphoneModel::ConvertNumber(int style, const QString& number) const
{
    return m_converter.convert(style, number);
}

QVariantMap SoftphoneModel::GetNotificationCall() const
{
    const GroupCall g = m_groupCall.value_or(GroupCall {});
    return {
        {QStringLiteral("DispNotificationCallPeerName"), g.name},
        {QStringLiteral("DispNotificationCallPeerNumber"), g.number},
        {QStringLiteral("DispNotificationCallCalledName"), g.calledName},
        {QStringLiteral("DispNotificationCallCalledExtension"), g.calledExtension},
        {QStringLiteral("DispNotificationCallRedirectedFromName"), g.redirectedFromName},
        {QStringLiteral("DispNotificationCallRedirectedFromNumber"), g.redirectedFromNumber},
    };
}

void SoftphoneModel::PickupGroupNotificationCall(int lineIndex)
{
    if (!m_groupCall)
        throw SoftphoneError(SoftphoneError::Kind::NoCall, QStringLiteral("no group call is signalled"));
    if (lineIndex == -1)
        lineIndex = idleLine(QStringLiteral("pick the group call up on"));
    Call& call = startCall(lineIndex, QStringLiteral("pick up the group call"));
    const GroupCall g = *std::exchange(m_groupCall, std::nullopt);
    call.peerNumber = g.number;
    call.peerName = g.name;
    call.calledName = g.calledName;
    call.calledExtension = g.calledExtension;
    call.redirectedFromNumber = g.redirectedFromNumber;
    call.redirectedFromName = g.redirectedFromName;
    call.isGroupCall = 1;
    markConnected(call);
    // The line shows the call before the group signal is withdrawn, so that no observer sees the call vanish.
    setState(lineIndex, LSActive);
    emit LineMgrNotification(EventGroupCall, 0);
}

void SoftphoneModel::HookOff(int lineIndex)
{
    Call& call = callIn(lineIndex, {LSRinging}, QStringLiteral("take the call"));
    markConnected(call);
    setState(lineIndex, LSActive);
}

void SoftphoneModel::HookOn(int lineIndex)
{
    const int state = line(lineIndex).state;
    // Hanging up on a ringing call is how the user rejects it.
    endCall(lineIndex, state == LSRinging ? DiscRejected : state == LSBusy ? DiscBusy : DiscNormal);
}

void SoftphoneModel::Dial(int lineIndex, const QString& digits)
{
    callIn(lineIndex, {LSActive, LSConferenceActive}, QStringLiteral("dial"));
    if (digits.isEmpty())
        throw SoftphoneError(SoftphoneError::Kind::InvalidArgument, QStringLiteral("no DTMF digits given"));
    const QString upper = digits.toUpper();
    for (QChar c : upper) {
        if (!isDtmfDigit(c)) {
            throw SoftphoneError(
                SoftphoneError::Kind::InvalidArgument,
                QStringLiteral("invalid DTMF digit '%1' in '%2' (allowed: 0-9 * # A-D)").arg(c).arg(digits));
        }
    }
    line(lineIndex).sentDtmf.append(upper);
}

int SoftphoneModel::MakeCall(int lineIndex, const QString& number)
{
    if (!isDialable(number)) {
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidArgument,
            QStringLiteral("'%1' is no number to dial (digits, * and #, optionally after a leading +)").arg(number));
    }
    if (lineIndex == -1)
        lineIndex = idleLine(QStringLiteral("place a call on"));
    outgoing(lineIndex, number, QString());
    return lineIndex;
}

bool SoftphoneModel::isDialable(const QString& number)
{
    // A length no telephone number reaches keeps a pasted text from becoming a dial string.
    constexpr qsizetype MaxDialLength = 64;
    const QStringView digits = number.startsWith(u'+') ? QStringView(number).mid(1) : QStringView(number);
    if (digits.isEmpty() || number.size() > MaxDialLength)
        return false;
    return std::all_of(digits.begin(), digits.end(),
                       [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'*' || c == u'#'; });
}

int SoftphoneModel::idleLine(const QString& action) const
{
    const auto idle = std::find_if(m_lines.begin(), m_lines.end(), [](const Line& l) { return !l.call; });
    if (idle == m_lines.end())
        throw SoftphoneError(SoftphoneError::Kind::InvalidState, QStringLiteral("no idle line to %1").arg(action));
    return static_cast<int>(idle - m_lines.begin());
}

void SoftphoneModel::incoming(int lineIndex, const IncomingCall& incoming)
{
    if (incoming.internal < -1 || incoming.internal > 1) {
        throw SoftphoneError(SoftphoneError::Kind::InvalidArgument,
                             QStringLiteral("invalid internal flag %1 (1 internal, 0 external, -1 undetermined)")
                                 .arg(incoming.internal));
    }
    Call& call = startCall(lineIndex, QStringLiteral("take an incoming call"));
    call.peerNumber = incoming.number;
    call.peerName = incoming.name;
    call.calledExtension = incoming.extension;
    call.calledName = incoming.calledName;
    call.internal = incoming.internal;
    setState(lineIndex, LSRinging);
}

void SoftphoneModel::hangup(int lineIndex)
{
    endCall(lineIndex, line(lineIndex).state == LSBusy ? DiscBusy : DiscNormal);
}

void SoftphoneModel::outgoing(int lineIndex, const QString& number, const QString& extension)
{
    dialOut(lineIndex, number, extension);
    // A receiver of the dialing notification may already have ended the call.
    if (line(lineIndex).state == LSDialing)
        alerting(lineIndex);
}

void SoftphoneModel::dialOut(int lineIndex, const QString& number, const QString& extension)
{
    if (number.trimmed().isEmpty())
        throw SoftphoneError(SoftphoneError::Kind::InvalidArgument, QStringLiteral("an outgoing call needs a number"));
    Call& call = startCall(lineIndex, QStringLiteral("dial out"));
    call.peerNumber = number;
    call.acknowledgedDialstring = number;
    call.outgoingExtension = extension;
    call.isOutgoing = 1;
    call.internal = m_converter.isExtension(number) ? 1 : 0;
    setState(lineIndex, LSDialing);
}

void SoftphoneModel::alerting(int lineIndex)
{
    callIn(lineIndex, {LSDialing}, QStringLiteral("hear the far end ring"));
    setState(lineIndex, LSAlerting);
}

void SoftphoneModel::remoteAnswer(int lineIndex)
{
    Call& call = callIn(lineIndex, {LSDialing, LSAlerting}, QStringLiteral("be answered"));
    markConnected(call);
    setState(lineIndex, LSActive);
}

void SoftphoneModel::remoteBusy(int lineIndex)
{
    callIn(lineIndex, {LSDialing, LSAlerting}, QStringLiteral("get a busy signal"));
    setState(lineIndex, LSBusy);
}

void SoftphoneModel::hold(int lineIndex)
{
    callIn(lineIndex, {LSActive}, QStringLiteral("put the call on hold"));
    setState(lineIndex, LSOnHold);
}

void SoftphoneModel::retrieve(int lineIndex)
{
    callIn(lineIndex, {LSOnHold}, QStringLiteral("retrieve the call"));
    setState(lineIndex, LSActive);
}

void SoftphoneModel::transfer(int lineIndex, const QString& number, const QString& name)
{
    Call& call = callIn(lineIndex, {LSRinging, LSAlerting, LSActive, LSOnHold}, QStringLiteral("be transferred"));
    if (number.trimmed().isEmpty())
        throw SoftphoneError(SoftphoneError::Kind::InvalidArgument, QStringLiteral("a transfer needs the new number"));
    call.peerNumber = number;
    call.peerName = name;
    emit LineMgrNotification(EventLineDetails, lineIndex);
}

void SoftphoneModel::receiveDtmf(int lineIndex, const QString& digits)
{
    Call& call = callIn(lineIndex, {LSActive, LSOnHold, LSConferenceActive}, QStringLiteral("receive DTMF"));
    call.receivedDtmf += digits;
    emit LineMgrNotification(EventLineDetails, lineIndex);
}

void SoftphoneModel::groupCall(const GroupCall& call)
{
    if (m_groupCall)
        throw SoftphoneError(SoftphoneError::Kind::InvalidState, QStringLiteral("a group call is already signalled"));
    m_groupCall = call;
    emit LineMgrNotification(EventGroupCall, 1);
}

void SoftphoneModel::groupCallEnd()
{
    if (!m_groupCall)
        throw SoftphoneError(SoftphoneError::Kind::NoCall, QStringLiteral("no group call is signalled"));
    m_groupCall.reset();
    emit LineMgrNotification(EventGroupCall, 0);
}

SoftphoneModel::Line& SoftphoneModel::line(int lineIndex)
{
    return const_cast<Line&>(std::as_const(*this).line(lineIndex));
}

const SoftphoneModel::Line& SoftphoneModel::line(int lineIndex) const
{
    if (lineIndex < 0 || lineIndex >= lineCount()) {
        throw SoftphoneError(
            SoftphoneError::Kind::NoSuchLine,
            QStringLiteral("line %1 does not exist (lines 0..%2)").arg(lineIndex).arg(lineCount() - 1));
    }
    return m_lines[static_cast<size_t>(lineIndex)];
}

SoftphoneModel::Call& SoftphoneModel::callIn(int lineIndex, std::initializer_list<int> states, const QString& action)
{
    Line& l = line(lineIndex);
    if (!l.call)
        throw SoftphoneError(SoftphoneError::Kind::NoCall, QStringLiteral("line %1 has no call").arg(lineIndex));
    if (std::find(states.begin(), states.end(), l.state) == states.end()) {
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidState,
            QStringLiteral("line %1 is %2, cannot %3").arg(lineIndex).arg(describeState(l.state), action));
    }
    return *l.call;
}

SoftphoneModel::Call& SoftphoneModel::startCall(int lineIndex, const QString& action)
{
    Line& l = line(lineIndex);
    if (l.call) {
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidState,
            QStringLiteral("line %1 is %2, cannot %3").arg(lineIndex).arg(describeState(l.state), action));
    }
    // The digits of the previous call stay readable after it ended, until the line is used again.
    l.sentDtmf.clear();
    l.call = Call {};
    l.call->id = ++m_lastCallId;
    return *l.call;
}

void SoftphoneModel::endCall(int lineIndex, int discReason)
{
    Call& call = callIn(lineIndex,
                        {LSHookOffInternal, LSHookOffExternal, LSRinging, LSDialing, LSAlerting, LSKnocking, LSBusy,
                         LSActive, LSOnHold, LSConferenceActive, LSConferenceOnHold, LSDirectCall},
                        QStringLiteral("end the call"));
    call.connectionFinished = now();
    call.discReason = discReason;
    setState(lineIndex, LSTerminated);
    if (m_terminatedHoldMs <= 0) {
        clearLine(lineIndex);
        return;
    }
    const int callId = call.id;
    QTimer::singleShot(m_terminatedHoldMs, this, [this, lineIndex, callId] {
        const Line& l = line(lineIndex);
        if (l.call && l.call->id == callId && l.state == LSTerminated)
            clearLine(lineIndex);
    });
}

void SoftphoneModel::clearLine(int lineIndex)
{
    Line& l = line(lineIndex);
    const Call& ended = *l.call;
    l.last = LastCall {.id = ended.id,
                       .peersNumber = ended.peerNumber,
                       .peersName = ended.peerName,
                       .extension = ended.isOutgoing == 1 ? ended.outgoingExtension : ended.calledExtension,
                       .calledExtension = ended.calledExtension,
                       .calledName = ended.calledName,
                       .isOutgoing = ended.isOutgoing,
                       .wasConnected = ended.wasConnected ? 1 : 0,
                       .discReason = ended.discReason,
                       .start = ended.connectionStart,
                       .finished = ended.connectionFinished};
    l.call.reset();
    setState(lineIndex, LSInactive);
}

void SoftphoneModel::markConnected(Call& call)
{
    call.wasConnected = true;
    call.connectionStart = now();
}

void SoftphoneModel::setState(int lineIndex, int state)
{
    line(lineIndex).state = state;
    emit LineMgrNotification(EventLineState, state << 8 | lineIndex);
}
