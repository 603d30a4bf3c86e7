// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/PipeTraceSink.h"

#include "platform/RuntimeFolder.h"
#include "trace/TraceLine.h"
#include "trace/TraceObjectDump.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaxPathLength = qsizetype(sizeof(sockaddr_un::sun_path)) - 1;

} // namespace

PipeTraceSink::PipeTraceSink(const QString& name, bool reconnect, std::chrono::milliseconds reconnectInterval)
    : m_path(SocketPathOf(name))
    , m_nativePath(QFile::encodeName(m_path))
    , m_reconnect(reconnect)
    , m_interval(reconnectInterval)
{
    if (name.isEmpty())
        throw ETraceConfiguration(u"Trace pipe: no pipe name"_s);
    if (m_nativePath.size() > MaxPathLength)
        throw ETraceConfiguration(
            u"Trace pipe: the socket path \"%1\" is longer than %2 bytes"_s.arg(m_path).arg(MaxPathLength));
    if (m_nativePath.contains('\0'))
        throw ETraceConfiguration(u"Trace pipe: the pipe name holds a null character"_s);
    const std::lock_guard lock(m_mutex);
    Connect();
}

PipeTraceSink::~PipeTraceSink()
{
    Disconnect();
}

QString PipeTraceSink::SocketPathOf(const QString& name)
{
    if (name.startsWith(u'/'))
        return name;
    // In the user's private runtime folder, not the shared temporary folder: the
    // trace holds callers' names and numbers, and another user listening under
    // the same name there would receive them.
    try {
        return UserRuntimePath() + u'/' + name;
    } catch (const std::exception& error) {
        throw ETraceConfiguration(u"Trace pipe: "_s + QString::fromUtf8(error.what()));
    }
}

QString PipeTraceSink::NameOf(const QString& applicationName)
{
    QString name;
    for (const QChar c : applicationName) {
        if (c.isLetter() || c.isDigit())
            name += c;
    }
    return name;
}

void PipeTraceSink::Write(const TraceEntry& entry)
{
    const std::lock_guard lock(m_mutex);
    if (EnsureConnected())
        Send(TraceLineText(entry) + '\n');
}

void PipeTraceSink::Clear()
{
    const std::lock_guard lock(m_mutex);
    if (EnsureConnected())
        Send(QByteArrayLiteral("#clear\n"));
}

bool PipeTraceSink::IsConnected() const
{
    const std::lock_guard lock(m_mutex);
    return m_socket >= 0 && !m_connecting;
}

bool PipeTraceSink::EnsureConnected()
{
    if (m_socket >= 0 && m_connecting) {
        pollfd ready {m_socket, POLLOUT, 0};
        const int count = ::poll(&ready, 1, 0);
        if (count == 0)
            return false; // still connecting: the entry is dropped rather than waited for
        int error = 0;
        socklen_t length = sizeof error;
        if (count < 0 || ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            Disconnect();
            return false;
        }
        m_connecting = false;
    }
    if (m_socket >= 0)
        return true;
    if (!m_reconnect || Clock::now() - m_lastAttempt < m_interval)
        return false;
    Connect();
    return m_socket >= 0 && !m_connecting;
}

void PipeTraceSink::Connect()
{
    m_lastAttempt = Clock::now();
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return;
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, m_nativePath.constData(), std::size_t(m_nativePath.size()));
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        m_socket = socket;
        m_connecting = false;
        // A reader that connects now has seen none of the dumps written before.
        TraceStartNewGeneration();
    } else if (errno == EINPROGRESS) {
        // Linux connects local sockets at once or fails; other kernels may answer this.
        m_socket = socket;
        m_connecting = true;
    } else {
        ::close(socket);
    }
}

void PipeTraceSink::Send(const QByteArray& data)
{
    ssize_t sent = 0;
    do {
        sent = ::send(m_socket, data.constData(), std::size_t(data.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (sent < 0 && errno == EINTR);
    // After part of a line the next entry would garble it; the viewer sees the connection end instead.
    if (sent != ssize_t(data.size()))
        Disconnect();
}

void PipeTraceSink::Disconnect()
{
    if (m_socket < 0)
        return;
    ::close(m_socket);
    m_socket = -1;
    m_connecting = false;
    m_lastAttempt = Clock::now();
}
