// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipEventMapper.h"

#include "LineCalls.h"
#include "LineSimError.h"
#include "SoftphoneModel.h"

#include <algorithm>

namespace {

const QLatin1String Incoming("CALL_INCOMING");
const QLatin1String Ringing("CALL_RINGING");
const QLatin1String Progress("CALL_PROGRESS");
const QLatin1String Established("CALL_ESTABLISHED");
const QLatin1String Closed("CALL_CLOSED");
const QLatin1String DtmfStart("CALL_DTMF_START");
// baresip 1.0 names it "TRANSFER", later versions "CALL_TRANSFER".
const QLatin1String Transfer("TRANSFER");
const QLatin1String CallTransfer("CALL_TRANSFER");

// An outgoing call is first seen when the far end rings, or answers, or refuses it at once
// ("486 Busy Here" without a "180 Ringing" before): it shows on a line in each case.
bool startsOutgoingCall(const BaresipEvent& event)
{
    return event.direction == QLatin1String("outgoing") &&
        (event.type == Ringing || event.type == Progress || event.type == Established || event.type == Closed);
}

} // namespace

BaresipEventMapper::BaresipEventMapper(SoftphoneModel& model, LineCalls& calls, const QString& account, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_calls(calls)
    , m_account(SipAddress::parse(account))
{
}

void BaresipEventMapper::apply(const BaresipEvent& event)
{
    if (event.callId.isEmpty())
        return; // SDP, registration and the like: nothing a line shows
    try {
        int lineIndex = m_calls.lineOf(event.callId);
        if (lineIndex < 0) {
            if (event.type == Incoming) {
                takeIncoming(event); // the ringing line is all there is to show
                return;
            }
            if (!startsOutgoingCall(event))
                return; // a call on no line: turned away, or from before the bridge attached
            lineIndex = takeOutgoing(event);
            if (lineIndex < 0)
                return;
        }
        applyToLine(lineIndex, event);
    } catch (const SoftphoneError& error) {
        emit eventIgnored(QStringLiteral("%1 of call %2: %3").arg(event.type, event.callId, error.message()));
    }
}

void BaresipEventMapper::applyToLine(int lineIndex, const BaresipEvent& event)
{
    const int state = m_model.lineState(lineIndex);
    if (event.type == Ringing || event.type == Progress) {
        if (state == SoftphoneModel::LSDialing)
            m_model.alerting(lineIndex);
    } else if (event.type == Established) {
        if (state == SoftphoneModel::LSRinging)
            m_model.answer(lineIndex);
        else if (state == SoftphoneModel::LSDialing || state == SoftphoneModel::LSAlerting)
            m_model.remoteAnswer(lineIndex);
    } else if (event.type == Closed) {
        close(lineIndex, event);
    } else if (event.type == DtmfStart) {
        if (!event.param.isEmpty())
            m_model.receiveDtmf(lineIndex, event.param);
    } else if (event.type == Transfer || event.type == CallTransfer) {
        const SipAddress target = SipAddress::parse(event.param);
        m_model.transfer(lineIndex, target.user, target.displayName);
    }
}

int BaresipEventMapper::firstIdleLine() const
{
    for (int i = 0; i < m_calls.lineCount(); ++i) {
        if (m_calls.isFree(i) && m_model.lineState(i) == SoftphoneModel::LSInactive)
            return i;
    }
    return -1;
}

// A PBX presents outside callers under its own domain too ("0301234567@fritz.box"):
// only an extension in the account's domain is a colleague.
bool BaresipEventMapper::isColleague(const SipAddress& peer) const
{
    return peer.host == m_account.host && m_model.converter().isExtension(peer.user);
}

void BaresipEventMapper::takeIncoming(const BaresipEvent& event)
{
    const int lineIndex = firstIdleLine();
    if (lineIndex < 0) {
        emit surplusCall(event.callId);
        return;
    }
    const SipAddress peer = SipAddress::parse(event.peerUri);
    // Bound first: a receiver of the ringing notification may take the call at once.
    m_calls.bind(lineIndex, event.callId);
    try {
        m_model.incoming(lineIndex,
                         {.number = peer.user,
                          .name = event.peerName.isEmpty() ? peer.displayName : event.peerName,
                          .extension = m_account.user,
                          .calledName = QString(),
                          .internal = isColleague(peer) ? 1 : 0});
    } catch (...) {
        m_calls.release(lineIndex);
        throw;
    }
}

int BaresipEventMapper::takeOutgoing(const BaresipEvent& event)
{
    const int lineIndex = firstIdleLine();
    if (lineIndex < 0) {
        emit eventIgnored(QStringLiteral("outgoing call %1: no idle line").arg(event.callId));
        return -1;
    }
    m_calls.bind(lineIndex, event.callId);
    try {
        m_model.dialOut(lineIndex, SipAddress::parse(event.peerUri).user, m_account.user);
    } catch (...) {
        m_calls.release(lineIndex);
        throw;
    }
    return lineIndex;
}

void BaresipEventMapper::close(int lineIndex, const BaresipEvent& event)
{
    const int state = m_model.lineState(lineIndex);
    const bool hungUpHere = m_calls.hungUpHere(lineIndex);
    m_calls.release(lineIndex);
    if (state == SoftphoneModel::LSTerminated || state == SoftphoneModel::LSInactive)
        return;
    if (hungUpHere) {
        m_model.HookOn(lineIndex); // a ringing call we hung up was rejected
        return;
    }
    // An outgoing call that ends before it was answered, with "486 Busy Here".
    if ((state == SoftphoneModel::LSDialing || state == SoftphoneModel::LSAlerting) &&
        event.param.contains(QLatin1String("Busy"), Qt::CaseInsensitive))
        m_model.remoteBusy(lineIndex);
    m_model.hangup(lineIndex);
}

void BaresipEventMapper::dropAllCalls()
{
    for (int i = 0; i < m_calls.lineCount(); ++i) {
        const bool inCall = !m_calls.isFree(i);
        m_calls.release(i);
        const int state = m_model.lineState(i);
        if (inCall && state != SoftphoneModel::LSTerminated && state != SoftphoneModel::LSInactive)
            m_model.hangup(i);
    }
}

void BaresipEventMapper::reconcile(const std::vector<BaresipEvent>& current)
{
    for (int i = 0; i < m_calls.lineCount(); ++i) {
        const QString callId = m_calls.callIdOn(i);
        if (callId.isEmpty())
            continue;
        const bool goesOn = std::any_of(current.begin(), current.end(),
                                        [&](const BaresipEvent& call) { return call.callId == callId; });
        if (!goesOn) {
            BaresipEvent ended;
            ended.type = Closed;
            ended.callId = callId;
            apply(ended);
        }
    }
    for (const BaresipEvent& call : current) {
        if (!call.type.isEmpty())
            apply(call);
    }
}
