// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipSupervisor.h"

#include "BaresipConfig.h"
#include "BaresipControl.h"
#include "BridgeError.h"
#include "ListenerOwner.h"

#include <QDir>
#include <QHostAddress>
#include <QTcpServer>

#include <algorithm>
#include <csignal>

#include <sys/prctl.h>

namespace {

// A port of 127.0.0.1 that nothing listens on now, as the system hands them out.
quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        throw BridgeError(
            QStringLiteral("no free port on 127.0.0.1 for baresip's control: %1").arg(probe.errorString()));
    return probe.serverPort();
}

} // namespace

BaresipSupervisor::BaresipSupervisor(BaresipControl& control, quint16 ctrlPort, QString program, QString folder,
                                     Prepare prepare, QObject* parent)
    : QObject(parent)
    , m_control(control)
    , m_fixedPort(ctrlPort)
    , m_program(std::move(program))
    , m_folder(std::move(folder))
    , m_prepare(std::move(prepare))
{
    m_connectPoll.setSingleShot(true);
    connect(&m_connectPoll, &QTimer::timeout, this, &BaresipSupervisor::attempt);
    m_restart.setSingleShot(true);
    connect(&m_restart, &QTimer::timeout, this, &BaresipSupervisor::startBaresip);
    connect(&control, &BaresipControl::connected, this, &BaresipSupervisor::onConnected);
    connect(&control, &BaresipControl::closed, this, &BaresipSupervisor::onClosed);
    // baresip's console output goes to a log next to its configuration, fresh at each start.
    m_process.setStandardOutputFile(QDir(m_folder).filePath(QLatin1String(BaresipConfig::LogName)));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A bridge that is killed takes its baresip along: left behind, it would hold the SIP and control ports.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onFinished(QStringLiteral("cannot start %1: %2").arg(m_program, m_process.errorString()));
    });
    connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus exitStatus) {
        onFinished(exitStatus == QProcess::CrashExit
                       ? QStringLiteral("baresip crashed")
                       : QStringLiteral("baresip ended with exit status %1").arg(exitCode));
    });
}

BaresipSupervisor::~BaresipSupervisor()
{
    stop();
}

void BaresipSupervisor::start()
{
    m_stopping = false;
    startBaresip();
}

void BaresipSupervisor::stop()
{
    m_stopping = true;
    m_connectPoll.stop();
    m_restart.stop();
    m_control.disconnectFromBaresip();
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void BaresipSupervisor::endBaresip()
{
    m_ending = true;
    m_process.terminate();
    const qint64 pid = m_process.processId();
    QTimer::singleShot(3000, this, [this, pid] {
        if (m_process.state() != QProcess::NotRunning && m_process.processId() == pid)
            m_process.kill();
    });
}

void BaresipSupervisor::startBaresip()
{
    m_attachedOnce = false;
    m_ending = false;
    try {
        m_port = m_fixedPort != 0 ? m_fixedPort : freePort();
        m_prepare(m_port);
    } catch (const BridgeError& error) {
        emit status(error.message());
        restartAfterBackOff();
        return;
    }
    m_runningFor.start();
    m_process.start(m_program, {QStringLiteral("-f"), m_folder});
    m_connectPoll.start(ConnectPollMs);
}

void BaresipSupervisor::attempt()
{
    if (!m_stopping && !m_ending && m_process.state() == QProcess::Running)
        m_control.connectTo(m_port);
}

void BaresipSupervisor::onConnected()
{
    if (!listensOn(m_process.processId(), m_port)) {
        // Our baresip did not get the port (something else listens there), or is gone: never believe
        // whatever answers instead.
        m_control.disconnectFromBaresip();
        emit status(QStringLiteral("control port %1 answers, but not from the baresip started here; "
                                   "starting it again on another port")
                        .arg(m_port));
        endBaresip();
        return;
    }
    m_connected = true;
    if (m_attachedOnce) {
        emit status(
            QStringLiteral("took the control connection back from another client; asking baresip for its calls"));
        emit reattached();
        return;
    }
    m_attachedOnce = true;
    emit status(
        QStringLiteral("baresip started as process %1, control port %2").arg(m_process.processId()).arg(m_port));
    emit attached();
}

void BaresipSupervisor::onClosed()
{
    const bool wasConnected = std::exchange(m_connected, false);
    if (m_stopping || m_ending || m_process.state() == QProcess::NotRunning)
        return; // onFinished takes it from here
    if (!m_attachedOnce && m_runningFor.elapsed() > StartTimeoutMs) {
        emit status(QStringLiteral("baresip does not open its control port %1; starting it again").arg(m_port));
        endBaresip();
        return;
    }
    // baresip still runs: it is coming up, or another client took the connection. Connect again.
    if (wasConnected)
        emit status(QStringLiteral("another client took baresip's control connection"));
    m_connectPoll.start(wasConnected ? RetryStartMs : ConnectPollMs);
}

void BaresipSupervisor::onFinished(const QString& why)
{
    m_connected = false;
    m_control.disconnectFromBaresip();
    if (m_stopping)
        return;
    emit status(why);
    if (m_attachedOnce)
        emit status(QStringLiteral("lost baresip; the lines are idle until it is back"));
    m_attachedOnce = false;
    emit lost();
    if (m_runningFor.isValid() && m_runningFor.elapsed() >= StableMs)
        m_failures = 0;
    restartAfterBackOff();
}

void BaresipSupervisor::restartAfterBackOff()
{
    const int delay = std::min(RetryMaxMs, RetryStartMs << std::min(m_failures, 8));
    ++m_failures;
    m_restart.start(delay);
}
