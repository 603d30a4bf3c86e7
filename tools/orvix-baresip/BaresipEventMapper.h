// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BaresipMessage.h"
#include "SipAddress.h"

#include <QObject>
#include <QString>

#include <vector>

class LineCalls;
class SoftphoneModel;

/**
 * @brief Turns baresip's call events into line states and call data of the line model.
 *
 * A new incoming call rings on the first idle line; an outgoing call baresip
 * reports for the first time starts dialing there. Later events find their
 * line by the call's SIP Call-ID. The peer's display name becomes the caller
 * name, the user part of its URI the number; a call is internal when the peer
 * is an extension in the account's own domain. Events that do not fit the line (a late
 * event, a call on no line) are reported through eventIgnored and change nothing.
 */
class BaresipEventMapper : public QObject
{
    Q_OBJECT

public:
    // account: the SIP account's address of record, as baresip's configuration has it.
    BaresipEventMapper(SoftphoneModel& model, LineCalls& calls, const QString& account, QObject* parent = nullptr);

    void apply(const BaresipEvent& event);
    // baresip is gone: every call ends, every line becomes idle.
    void dropAllCalls();
    // Events were missed (the control connection was away): `current` is every call baresip has now,
    // each as the event that stands for its state (BaresipCallSync). A line's call that is not among
    // them ended; the others catch up, and calls on no line take one as if they had just come.
    void reconcile(const std::vector<BaresipEvent>& current);

signals:
    // An incoming call found no idle line; baresip should turn it away.
    void surplusCall(const QString& callId);
    void eventIgnored(const QString& reason);

private:
    void applyToLine(int lineIndex, const BaresipEvent& event);
    int firstIdleLine() const;
    void takeIncoming(const BaresipEvent& event);
    bool isColleague(const SipAddress& peer) const;
    int takeOutgoing(const BaresipEvent& event);
    void close(int lineIndex, const BaresipEvent& event);

    SoftphoneModel& m_model;
    LineCalls& m_calls;
    SipAddress m_account;
};
