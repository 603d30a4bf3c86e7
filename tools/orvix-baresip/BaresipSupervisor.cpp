#include "BaresipSupervisor.h"

#include "BaresipControl.h"

#include <QDir>

#include <algorithm>
#include <csignal>

#include <sys/prctl.h>

BaresipSupervisor::BaresipSupervisor(BaresipControl& control, quint16 ctrlPort, QString program, QString folder,
                                     QObject* parent)
    : QObject(parent)
    , m_control(control)
    , m_ctrlPort(ctrlPort)
    , m_program(std::move(program))
    , m_folder(std::move(folder))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &BaresipSupervisor::attempt);
    connect(&control, &BaresipControl::connected, this, &BaresipSupervisor::onConnected);
    connect(&control, &BaresipControl::closed, this, &BaresipSupervisor::onClosed);
    // baresip's console output goes to a log next to its configuration, fresh at each start.
    m_process.setStandardOutputFile(QDir(m_folder).filePath(QStringLiteral("baresip.log")));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A bridge that is killed takes its baresip along: left behind, it would hold the SIP and control ports.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit status(QStringLiteral("cannot start %1: %2").arg(m_program, m_process.errorString()));
    });
    connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus exitStatus) {
        if (!m_stopping) {
            emit status(exitStatus == QProcess::CrashExit
                            ? QStringLiteral("baresip crashed")
                            : QStringLiteral("baresip ended with exit status %1").arg(exitCode));
        }
    });
}

BaresipSupervisor::~BaresipSupervisor()
{
    stop();
}

void BaresipSupervisor::start()
{
    m_stopping = false;
    attempt();
}

void BaresipSupervisor::stop()
{
    m_stopping = true;
    m_retry.stop();
    m_control.disconnectFromBaresip();
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

void BaresipSupervisor::attempt()
{
    if (!m_stopping)
        m_control.connectTo(m_ctrlPort);
}

void BaresipSupervisor::onConnected()
{
    m_connected = true;
    m_connectedFor.start();
    emit status(ownsBaresip() ? QStringLiteral("baresip started as process %1, control port %2")
                                    .arg(m_process.processId())
                                    .arg(m_ctrlPort)
                              : QStringLiteral("attached to the baresip on control port %1").arg(m_ctrlPort));
    emit attached();
}

void BaresipSupervisor::onClosed()
{
    if (m_connected) {
        m_connected = false;
        if (m_connectedFor.elapsed() >= StableMs)
            m_failures = 0;
        if (!m_stopping)
            emit status(QStringLiteral("lost baresip; the lines are idle until it is back"));
        emit lost();
    }
    if (m_stopping)
        return;
    // Nothing answers on the port: start our own baresip, unless it is still coming up.
    if (m_process.state() == QProcess::NotRunning)
        startOwnBaresip();
    scheduleRetry();
}

void BaresipSupervisor::startOwnBaresip()
{
    m_process.start(m_program, {QStringLiteral("-f"), m_folder});
}

void BaresipSupervisor::scheduleRetry()
{
    const int delay = std::min(RetryMaxMs, RetryStartMs << std::min(m_failures, 8));
    ++m_failures;
    m_retry.start(delay);
}
