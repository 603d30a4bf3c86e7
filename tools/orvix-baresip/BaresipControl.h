// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BaresipMessage.h"
#include "NetstringReader.h"

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

/**
 * @brief The client of baresip's control socket (ctrl_tcp on 127.0.0.1): commands out, events and responses in.
 *
 * baresip serves one client at a time, and its responses carry only the token
 * of their command, interleaved with events; so commands go out one at a time,
 * each after the previous one was answered (or its answer timed out).
 * sendOnCall first makes the call with that SIP Call-ID baresip's current call
 * ("callfind") and sends the command only when baresip found it, so a command
 * never lands on another call; nothing comes between the two.
 */
class BaresipControl : public QObject
{
    Q_OBJECT

public:
    explicit BaresipControl(QObject* parent = nullptr);
    ~BaresipControl() override;

    void connectTo(quint16 port);
    void disconnectFromBaresip();
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    void setResponseTimeoutMs(int ms) { m_responseTimer.setInterval(ms); }

    // What became of a command: baresip's answer (ok and its text), or not ok with why there was none.
    using Reply = std::function<void(bool ok, const QString& data)>;

    // Queues a command. Without a connection it fails at once (commandFailed and the reply).
    void send(const QString& command, const QString& params = {}, const Reply& reply = {});
    void sendOnCall(const QString& callId, const QString& command, const QString& params = {}, const Reply& reply = {});
    // The same for the call on one of baresip's own line numbers ("line", as "listcalls" numbers them).
    void sendOnLine(int baresipLine, const QString& command, const QString& params = {}, const Reply& reply = {});

signals:
    void connected();
    // The connection is gone, or could not be made.
    void closed();
    void eventReceived(const BaresipEvent& event);
    void commandFailed(const QString& command, const QString& reason);
    // A frame that was skipped: malformed, not JSON, or a response nobody waits for.
    void frameRejected(const QString& reason);

private:
    struct Command
    {
        QString command;
        QString params;
        // Select this call first: "callfind" with its Call-ID, or "line" with baresip's line number.
        QString selectCommand;
        std::optional<QString> selector;
        Reply reply;
    };

    void queue(Command command);
    void readFrames();
    void handleFrame(const QByteArray& frame);
    void handleResponse(const BaresipResponse& response);
    void sendNext();
    void fail(const Command& command, const QString& reason);
    void failAll(const QString& reason);
    void onStateChanged(QAbstractSocket::SocketState state);

    QTcpSocket m_socket;
    NetstringReader m_reader;
    QTimer m_responseTimer;
    std::deque<Command> m_queue;
    std::optional<Command> m_inFlight; // sent; waiting for the response with m_token
    bool m_inFlightIsSelection = false;
    QString m_token;
    int m_tokenCounter = 0;
    bool m_wasOpen = false;
};
