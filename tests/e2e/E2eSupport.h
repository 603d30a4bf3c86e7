// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "WaitUntil.h"
#include "telephony/DBusLineManagerService.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>

namespace e2e {

// Generous: sanitizer builds on a shared machine start processes slowly; a passing run takes seconds.
inline constexpr int Deadline = 40000;

inline bool WaitUntil(const std::function<bool()>& condition, int milliseconds = Deadline)
{
    return ::WaitUntil(condition, milliseconds);
}

// Empty when baresip and sipp are installed; else why the test cannot run.
inline QString MissingSipTools()
{
    for (const char* program : {"baresip", "sipp"}) {
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty()) {
            return QStringLiteral("%1 is not installed (Debian packages baresip-core and sip-tester; "
                                  "scripts/install-deps installs them)")
                .arg(QLatin1String(program));
        }
    }
    return {};
}

// A port free for both UDP and TCP on 127.0.0.1 (SIP listens on both), as the system hands it out.
inline quint16 FreePort()
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        QUdpSocket udp;
        if (!udp.bind(QHostAddress::LocalHost, 0))
            continue;
        QTcpServer tcp;
        if (tcp.listen(QHostAddress::LocalHost, udp.localPort()))
            return udp.localPort();
    }
    ADD_FAILURE() << "no free port";
    return 0;
}

inline void Stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// orvix-baresip serving `lines` lines on a bus name of its own, with its own baresip on a free SIP
// port of 127.0.0.1. Stopped with the object, which ends its baresip too.
class BridgeProcess
{
public:
    // account: 127.0.0.2 by default, a local account domain other than the caller's, so calls are
    // external; a bare number dialled goes to the account's host and port.
    explicit BridgeProcess(const QString& folder, int lines = 2, const QStringList& moreOptions = {},
                           const QString& account = QStringLiteral("sip:kestrun@127.0.0.2"))
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral(ORVIX_BARESIP_EXECUTABLE),
                        QStringList {"--service", service, "serve", "--lines", QString::number(lines), "--sip-listen",
                                     QStringLiteral("127.0.0.1:%1").arg(sipPort), "--account", account, "--folder",
                                     folder} +
                            moreOptions);
    }
    ~BridgeProcess()
    {
        Stop(m_process);
        if (::testing::Test::HasFailure())
            std::cerr << "orvix-baresip said:\n" << Output().toStdString();
    }

    // Waits until the bridge has printed the text `count` times; false when it ended or the deadline passed.
    bool WaitForOutput(const QString& text, int count = 1)
    {
        return WaitUntil([&] { return Output().count(text) >= count || m_process.state() == QProcess::NotRunning; }) &&
            Output().count(text) >= count;
    }
    QString Output()
    {
        m_output += QString::fromUtf8(m_process.readAll());
        return m_output;
    }
    qint64 Pid() const { return m_process.processId(); }
    // The process of the baresip the bridge started last.
    qint64 BaresipPid() { return LastStart(1).toLongLong(); }
    // The control port of the baresip the bridge started last.
    quint16 CtrlPort() { return static_cast<quint16>(LastStart(2).toUInt()); }

    const QString service =
        QStringLiteral("com.orvixit.Softphone.test.e2e.p%1n%2").arg(QCoreApplication::applicationPid()).arg(++s_count);
    const quint16 sipPort = FreePort();

private:
    QString LastStart(int field)
    {
        const QRegularExpression started(QStringLiteral("baresip started as process (\\d+), control port (\\d+)"));
        QString value;
        for (auto it = started.globalMatch(Output()); it.hasNext();)
            value = it.next().captured(field);
        return value;
    }

    static inline int s_count = 0;
    QProcess m_process;
    QString m_output;
};

// A scenario of tests/data/e2e.
inline QString Scenario(const char* name)
{
    return QStringLiteral(KESTRUN_TEST_DATA "/e2e/") + QLatin1String(name);
}

// A scenario of tests/data/e2e with bytes replaced (a caller as no file in the repository should hold
// it), written into the folder.
inline QString ScenarioVariant(const QTemporaryDir& folder, const char* name, const QByteArray& from,
                               const QByteArray& to)
{
    QFile original(Scenario(name));
    EXPECT_TRUE(original.open(QIODevice::ReadOnly)) << name;
    QByteArray text = original.readAll();
    EXPECT_TRUE(text.contains(from)) << name;
    text.replace(from, to);
    const QString path = folder.filePath(QLatin1String(name));
    QFile variant(path);
    EXPECT_TRUE(variant.open(QIODevice::WriteOnly) && variant.write(text) == text.size()) << path.toStdString();
    return path;
}

// sipp placing `calls` calls of a scenario at once to a SIP port of 127.0.0.1. Stopped with the object.
class SippCall
{
public:
    SippCall(const QString& scenario, quint16 targetPort, int calls = 1)
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral("sipp"),
                        {"-sf",
                         scenario,
                         "-s",
                         "kestrun",
                         "-m",
                         QString::number(calls),
                         "-l",
                         QString::number(calls),
                         "-r",
                         QString::number(calls),
                         "-i",
                         "127.0.0.1",
                         "-p",
                         QString::number(FreePort()),
                         "-mp",
                         QString::number(FreePort()),
                         "-timeout",
                         "40",
                         "-timeout_error",
                         "-nostdin",
                         QStringLiteral("127.0.0.1:%1").arg(targetPort)});
    }
    ~SippCall() { e2e::Stop(m_process); }

    bool WaitForEnd()
    {
        return WaitUntil([this] { return m_process.state() == QProcess::NotRunning; });
    }
    // 0 when every message of the scenario came as expected.
    int ExitCode() const { return m_process.exitCode(); }
    std::string Output() { return m_process.readAll().right(3000).toStdString(); }
    void Stop() { e2e::Stop(m_process); }

private:
    QProcess m_process;
};

// A running bridge with its baresip, and the line manager it offers on the bus; skips the test
// where baresip or sipp is not installed.
class BridgeTest : public ::testing::Test
{
protected:
    void SetUp() override { StartBridge(2); }

    // waitForBaresip false: only until the bridge is on the bus.
    void StartBridge(int lines, const QStringList& moreOptions = {}, bool waitForBaresip = true)
    {
        if (const QString missing = MissingSipTools(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        bridge = std::make_unique<BridgeProcess>(m_folder.filePath("bridge"), lines, moreOptions);
        if (waitForBaresip) {
            ASSERT_TRUE(bridge->WaitForOutput("baresip started")) << bridge->Output().toStdString();
        }
        bus = std::make_unique<DBusLineManagerService>(bridge->service);
        ASSERT_TRUE(WaitUntil([&] { return bus->IsAvailable(); }));
    }

    // First, so that it goes last: the bridge is stopped before its folder is removed.
    QTemporaryDir m_folder;

    std::unique_ptr<BridgeProcess> bridge;
    std::unique_ptr<DBusLineManagerService> bus;
};

} // namespace e2e
