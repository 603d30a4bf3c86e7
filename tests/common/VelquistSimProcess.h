// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

/**
 * velquist-sim, the simulated directory server, on a free port of 127.0.0.1
 * with the given contacts; stopped when the object ends. Tests that link it
 * get its path and the shipped contacts as VELQUIST_SIM and VELQUIST_SIM_CONTACTS.
 */
class VelquistSimProcess
{
public:
    VelquistSimProcess() = default;
    VelquistSimProcess(const VelquistSimProcess&) = delete;
    VelquistSimProcess& operator=(const VelquistSimProcess&) = delete;
    ~VelquistSimProcess() { Stop(); }

    // Starts it and waits until it listens; its "127.0.0.1:port", or empty when it did not start.
    QString Start(const QString& program, const QString& contacts)
    {
        m_process.setProgram(program);
        m_process.setArguments({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--contacts"), contacts});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(30000))
            return {};
        QByteArray output;
        const QDeadlineTimer deadline(30000);
        while (!output.contains('\n') && m_process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            m_process.waitForReadyRead(100);
            output += m_process.readAllStandardOutput();
        }
        static const QRegularExpression listening(QStringLiteral("listening on http://(127\\.0\\.0\\.1:\\d+) "));
        m_output = output;
        return listening.match(QString::fromUtf8(output)).captured(1);
    }

    // What it printed before it listened, for a test's failure message.
    const QByteArray& Output() const { return m_output; }

    void Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(30000))
            m_process.kill();
        m_process.waitForFinished(30000);
    }

private:
    QProcess m_process;
    QByteArray m_output;
};
