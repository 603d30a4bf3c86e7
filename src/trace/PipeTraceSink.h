// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "trace/Trace.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <mutex>

/**
 * @brief Sends entries as text lines to a trace viewer listening on a local stream socket.
 *
 * A viewer listens with QLocalServer::listen(name); each entry arrives as the lines of
 * TraceLineText() with a final line break, and Clear() as the line "#clear". Entries may
 * come from any thread and without an event loop, so this uses plain non-blocking
 * sockets: it never blocks the caller and never raises SIGPIPE. With no viewer, or one
 * too slow to take an entry at once, the entry is dropped and the connection closed;
 * with reconnecting on, a new connection is tried at most once per interval, otherwise
 * a failed connection stays failed.
 */
class PipeTraceSink final : public TraceSink
{
public:
    // name: a socket path, or a name in the user's runtime folder (UserRuntimePath). Throws
    // ETraceConfiguration on a name no socket can have.
    PipeTraceSink(const QString& name, bool reconnect, std::chrono::milliseconds reconnectInterval);
    ~PipeTraceSink() override;
    PipeTraceSink(const PipeTraceSink&) = delete;
    PipeTraceSink& operator=(const PipeTraceSink&) = delete;

    void Write(const TraceEntry& entry) override;
    void Clear() override;

    bool IsConnected() const;

    // The socket of a name: a path as given, a plain name in the user's runtime folder.
    static QString SocketPathOf(const QString& name);
    // The default name: the application's name with only its letters and digits.
    static QString NameOf(const QString& applicationName);

private:
    bool EnsureConnected();
    void Connect();
    void Send(const QByteArray& data);
    void Disconnect();

    using Clock = std::chrono::steady_clock;

    const QString m_path;
    const QByteArray m_nativePath;
    const bool m_reconnect;
    const std::chrono::milliseconds m_interval;
    mutable std::mutex m_mutex;
    int m_socket = -1;
    bool m_connecting = false;
    Clock::time_point m_lastAttempt;
};
