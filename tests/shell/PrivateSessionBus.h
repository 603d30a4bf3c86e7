// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

/**
 * A session bus of the test's own (a dbus-daemon it starts and ends), so that
 * programs started by tests that run side by side never meet on one bus under
 * the same name.
 */
class PrivateSessionBus
{
public:
    PrivateSessionBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10000))
            return;
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        m_connection = QDBusConnection::connectToBus(m_address, ConnectionName());
    }

    ~PrivateSessionBus()
    {
        QDBusConnection::disconnectFromBus(ConnectionName());
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // For DBUS_SESSION_BUS_ADDRESS of the programs that are to use it.
    const QString& Address() const { return m_address; }
    QDBusConnection& Connection() { return m_connection; }

private:
    QString ConnectionName() const { return QStringLiteral("private-session-bus-") + m_address; }

    QProcess m_daemon;
    QString m_address;
    QDBusConnection m_connection {QString()};
};
