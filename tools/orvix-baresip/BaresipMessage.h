// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <variant>

/**
 * @brief An event of baresip's control socket: what happened to which call.
 *
 * Call events carry the call's SIP Call-ID in callId; events about other
 * things (SDP, registration) have none.
 */
struct BaresipEvent
{
    QString type; // "CALL_INCOMING", "CALL_ESTABLISHED" ...
    QString callId;
    QString direction; // "incoming" or "outgoing"
    QString peerUri;
    QString peerName;
    QString accountAor;
    QString param; // the event's detail: a reason, a DTMF digit, a transfer target ...
};

/**
 * @brief baresip's answer to one command, matched to it by the token the command carried.
 */
struct BaresipResponse
{
    bool ok = false;
    QString data;
    QString token;
};

using BaresipMessage = std::variant<BaresipEvent, BaresipResponse>;

// One frame's JSON; throws BridgeError when it is not JSON or neither an event nor a response.
BaresipMessage parseBaresipMessage(const QByteArray& frame);

// The JSON of a command; params and token may be empty.
QByteArray encodeBaresipCommand(const QString& command, const QString& params, const QString& token);
