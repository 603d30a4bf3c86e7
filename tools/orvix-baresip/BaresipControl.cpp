// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipControl.h"

#include "BridgeError.h"

#include <QHostAddress>

#include <utility>

BaresipControl::BaresipControl(QObject* parent)
    : QObject(parent)
{
    m_responseTimer.setSingleShot(true);
    m_responseTimer.setInterval(5000);
    connect(&m_responseTimer, &QTimer::timeout, this, [this] {
        if (m_inFlight)
            fail(*std::exchange(m_inFlight, std::nullopt), QStringLiteral("baresip did not answer in time"));
        sendNext();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &BaresipControl::readFrames);
    connect(&m_socket, &QTcpSocket::stateChanged, this, &BaresipControl::onStateChanged);
}

BaresipControl::~BaresipControl()
{
    // The socket closes after the timer and the queue are gone: its last state change must not reach us.
    disconnect(&m_socket, nullptr, this, nullptr);
}

void BaresipControl::connectTo(quint16 port)
{
    m_socket.abort();
    m_reader = NetstringReader();
    m_wasOpen = true;
    m_socket.connectToHost(QHostAddress::LocalHost, port);
}

void BaresipControl::disconnectFromBaresip()
{
    m_socket.abort();
}

void BaresipControl::send(const QString& command, const QString& params, const Reply& reply)
{
    queue({command, params, {}, std::nullopt, reply});
}

void BaresipControl::sendOnCall(const QString& callId, const QString& command, const QString& params,
                                const Reply& reply)
{
    queue({command, params, QStringLiteral("callfind"), callId, reply});
}

void BaresipControl::sendOnLine(int baresipLine, const QString& command, const QString& params, const Reply& reply)
{
    queue({command, params, QStringLiteral("line"), QString::number(baresipLine), reply});
}

void BaresipControl::queue(Command command)
{
    if (!isConnected()) {
        fail(command, QStringLiteral("not connected to baresip"));
        return;
    }
    m_queue.push_back(std::move(command));
    sendNext();
}

void BaresipControl::sendNext()
{
    if (m_inFlight || m_queue.empty() || !isConnected())
        return;
    Command next = std::move(m_queue.front());
    m_queue.pop_front();
    m_token = QStringLiteral("orvix%1").arg(++m_tokenCounter);
    m_inFlightIsSelection = next.selector.has_value();
    const QByteArray json = m_inFlightIsSelection ? encodeBaresipCommand(next.selectCommand, *next.selector, m_token)
                                                  : encodeBaresipCommand(next.command, next.params, m_token);
    m_inFlight = std::move(next);
    m_socket.write(NetstringReader::encode(json));
    m_responseTimer.start();
}

void BaresipControl::readFrames()
{
    const NetstringReader::Result result = m_reader.feed(m_socket.readAll());
    for (const QString& error : result.errors)
        emit frameRejected(error);
    for (const QByteArray& frame : result.frames)
        handleFrame(frame);
}

void BaresipControl::handleFrame(const QByteArray& frame)
{
    BaresipMessage message;
    try {
        message = parseBaresipMessage(frame);
    } catch (const BridgeError& error) {
        emit frameRejected(error.message());
        return;
    }
    if (const auto* event = std::get_if<BaresipEvent>(&message))
        emit eventReceived(*event);
    else
        handleResponse(std::get<BaresipResponse>(message));
}

void BaresipControl::handleResponse(const BaresipResponse& response)
{
    if (!m_inFlight || response.token != m_token) {
        emit frameRejected(QStringLiteral("response to no waiting command (token \"%1\")").arg(response.token));
        return;
    }
    m_responseTimer.stop();
    Command done = std::move(*m_inFlight);
    m_inFlight.reset();
    if (m_inFlightIsSelection) {
        // baresip answers "ok" also when it has no such call; only the text tells.
        if (!response.ok || response.data.contains(QLatin1String("not found"), Qt::CaseInsensitive)) {
            fail(done, QStringLiteral("baresip has no call %1").arg(*done.selector));
        } else {
            done.selector.reset();
            m_queue.push_front(std::move(done)); // the selected call's command goes next, before anything else
        }
    } else {
        if (!response.ok)
            emit commandFailed(done.command, response.data.trimmed());
        if (done.reply)
            done.reply(response.ok, response.ok ? response.data : response.data.trimmed());
    }
    sendNext();
}

void BaresipControl::fail(const Command& command, const QString& reason)
{
    emit commandFailed(command.command, reason);
    if (command.reply)
        command.reply(false, reason);
}

void BaresipControl::failAll(const QString& reason)
{
    m_responseTimer.stop();
    if (m_inFlight)
        fail(*std::exchange(m_inFlight, std::nullopt), reason);
    for (const Command& command : std::exchange(m_queue, {}))
        fail(command, reason);
}

void BaresipControl::onStateChanged(QAbstractSocket::SocketState state)
{
    if (state == QAbstractSocket::ConnectedState) {
        emit connected();
    } else if (state == QAbstractSocket::UnconnectedState && m_wasOpen) {
        m_wasOpen = false;
        failAll(QStringLiteral("the connection to baresip was closed"));
        emit closed();
    }
}
