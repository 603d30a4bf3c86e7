// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <chrono>

/**
 * @brief One command to one receiver on the session bus: the Execute method of
 * the de.kestrun.Command interface (resources/dbus/de.kestrun.Command.xml).
 *
 * Every wait is bounded and runs the event loop, so a receiver that never starts
 * or never answers costs a few seconds but does not freeze windows or line
 * notifications; a run for another call may start and end inside a wait.
 */
class TCommandChannel
{
public:
    struct Timeouts
    {
        // How long a started receiver has to take its bus name.
        std::chrono::milliseconds start {10000};
        // How long the receiver has to answer a command.
        std::chrono::milliseconds answer {3000};
    };

    // topic names the object; a leading "/" is added when it has none.
    TCommandChannel(QString service, const QString& topic, Timeouts timeouts);
    TCommandChannel(QString service, const QString& topic)
        : TCommandChannel(std::move(service), topic, Timeouts {})
    {
    }

    QString ObjectPath() const { return m_objectPath; }

    // Whether the service has an owner. When not, and the service is not empty,
    // starts the program of that name with the object path as its argument
    // and waits for the name to appear. On false, LinkError says why.
    bool Link();
    QString LinkError() const { return m_linkError; }

    // Sends the message and waits for the answer; on false, SendError says why.
    bool Send(const QString& message);
    QString SendError() const { return m_sendError; }

private:
    enum class Owner
    {
        Present,
        Absent,
        // The service text is no bus name: nobody can ever own it.
        Impossible
    };

    Owner FindOwner() const;
    bool WaitForOwner() const;

    QString m_service;
    QString m_objectPath;
    Timeouts m_timeouts;
    QString m_linkError;
    QString m_sendError;
};
