// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTest>

// Waits (running the event loop) until the name has an owner on the session bus.
inline bool WaitForBusName(const QString& name)
{
    return QTest::qWaitFor([&name] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(name); },
                           10000);
}

// kestrun-command-sink serving one object under one name for the lifetime of the object.
class SinkProcess
{
public:
    SinkProcess(const QString& name, const QString& path)
    {
        m_process.start(QStringLiteral(KESTRUN_COMMAND_SINK), {QStringLiteral("--name"), name, path});
        m_started = m_process.waitForStarted() && WaitForBusName(name);
    }
    ~SinkProcess()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }
    SinkProcess(const SinkProcess&) = delete;
    SinkProcess& operator=(const SinkProcess&) = delete;

    bool Started() const { return m_started; }
    // The commands printed so far, waiting a little for the first.
    QStringList Commands()
    {
        if (m_process.bytesAvailable() == 0)
            m_process.waitForReadyRead(5000);
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QProcess m_process;
    QString m_output;
    bool m_started = false;
};

/**
 * A receiver that takes every command and never answers, on a bus connection
 * of its own: calls to it travel through the bus as calls to another program's
 * receiver do, while it lives in the test's event loop.
 */
class HangingReceiver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.kestrun.Command")

public:
    explicit HangingReceiver(const QString& name)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("hanging-receiver")))
    {
        m_bus.registerObject(QStringLiteral("/"), this, QDBusConnection::ExportAllSlots);
        m_bus.registerService(name);
    }
    ~HangingReceiver() override
    {
        m_bus.unregisterObject(QStringLiteral("/"));
        QDBusConnection::disconnectFromBus(QStringLiteral("hanging-receiver"));
    }

    int received = 0;

public Q_SLOTS:
    void Execute(const QString& /*message*/, const QDBusMessage& call)
    {
        ++received;
        call.setDelayedReply(true);
    }

private:
    QDBusConnection m_bus;
};
