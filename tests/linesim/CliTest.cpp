// SPDX-License-Identifier: GPL-3.0-or-later

#include "LineSimTestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using linesim_test::Deadline;
using linesim_test::waitUntil;

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE), arguments);
    if (!process.waitForFinished(Deadline)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "orvix-linesim " << arguments.join(u' ').toStdString() << " did not finish";
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

bool serviceRunning(const QString& name)
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value();
}

struct BadInputCase
{
    QStringList arguments;
    int exitCode;
    const char* message;
};

void PrintTo(const BadInputCase& c, std::ostream* out)
{
    *out << "orvix-linesim " << c.arguments.join(u' ').toStdString();
}

class CliBadInput : public ::testing::TestWithParam<BadInputCase>
{
};

TEST_P(CliBadInput, FailsWithAClearMessage)
{
    const BadInputCase& c = GetParam();
    QStringList arguments = c.arguments;
    arguments.replaceInStrings(u"@service"_s, linesim_test::uniqueServiceName("absent"));
    const Result result = runCli(arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
    EXPECT_TRUE(result.err.startsWith(u"orvix-linesim: "_s)) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.message))) << result.err.toStdString();
    EXPECT_EQ(result.err.count(u'\n'), 1) << "one line, no trace output: " << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliBadInput,
    ::testing::Values(BadInputCase {{}, 2, "no command given"},
                      BadInputCase {{"ring", "--line", "0"}, 2, "unknown command 'ring'"},
                      BadInputCase {{"--verbose", "state"}, 2, "unknown option --verbose"},
                      BadInputCase {{"--service"}, 2, "option --service needs a value"},
                      BadInputCase {{"answer", "--line"}, 2, "option --line needs a value"},
                      BadInputCase {{"answer", "--line", "x"}, 2, "--line needs a whole number, got 'x'"},
                      BadInputCase {{"sleep", "10"}, 2, "'sleep' is only for scenario files"},
                      BadInputCase {{"serve", "--lines", "0"}, 2, "invalid number of lines 0 (expected 1..255)"},
                      BadInputCase {{"serve", "--country-code", "4x"}, 2, "invalid country code '4x'"},
                      BadInputCase {{"--service", "@service", "answer", "--line", "0"},
                                    1,
                                    "no simulator is running as com.orvixit.Softphone.test.absent."},
                      BadInputCase {{"--service", "@service", "play", "/nonexistent/calls.txt"},
                                    1,
                                    "cannot read the scenario /nonexistent/calls.txt"}));

TEST(Cli, HelpDescribesCommandsAndNumberConversion)
{
    const Result result = runCli({u"--help"_s});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains(u"incoming --line L --number NUM"_s));
    EXPECT_TRUE(result.out.contains(u"\"0044 20 7946 0000\" -> \"+442079460000\""_s));
    EXPECT_TRUE(result.err.isEmpty());
}

class CliAgainstServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "the tests need a session bus (dbus-run-session)";
        server.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE),
                     {u"--service"_s, service, u"serve"_s, u"--lines"_s, u"2"_s, u"--terminated-ms"_s, u"0"_s});
        ASSERT_TRUE(server.waitForStarted(Deadline));
        ASSERT_TRUE(waitUntil([&] { return serviceRunning(service) || server.state() == QProcess::NotRunning; }));
        ASSERT_TRUE(serviceRunning(service)) << server.readAllStandardError().toStdString();
    }

    void TearDown() override
    {
        if (server.state() != QProcess::NotRunning) {
            server.kill();
            server.waitForFinished(Deadline);
        }
    }

    Result cli(QStringList arguments)
    {
        arguments.prepend(service);
        arguments.prepend(u"--service"_s);
        return runCli(arguments);
    }

    // "Name: value" lines of the state command.
    QMap<QString, QString> state(int line)
    {
        const Result result = cli({u"state"_s, u"--line"_s, QString::number(line)});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        QMap<QString, QString> properties;
        for (const QString& text : result.out.split(u'\n', Qt::SkipEmptyParts))
            properties.insert(text.section(u": "_s, 0, 0), text.section(u": "_s, 1));
        return properties;
    }

    QString writeScenario(const char* name, const char* text)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    const QString service = linesim_test::uniqueServiceName("cli");
    QProcess server;
    QTemporaryDir dir;
};

TEST_F(CliAgainstServer, DrivesACallAndKeepsServingAfterBadCommands)
{
    Result result = cli({u"incoming"_s, u"--line"_s, u"0"_s, u"--number"_s, u"0301234567"_s, u"--name"_s,
                         u"Anna Berg"_s, u"--external"_s});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());

    QMap<QString, QString> line = state(0);
    EXPECT_EQ(line.value(u"DispState"_s), u"3"_s);
    EXPECT_EQ(line.value(u"DispPeerName"_s), u"Anna Berg"_s);
    EXPECT_EQ(line.value(u"DispPeerNumberPublicFormat"_s), u"+49301234567"_s);
    EXPECT_EQ(line.value(u"m_bIsInternalCall"_s), u"0"_s);
    EXPECT_EQ(line.size(), 36);

    result = cli({u"answer"_s, u"--line"_s, u"7"_s});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, u"orvix-linesim: line 7 does not exist (lines 0..1)\n"_s);
    result = cli({u"dial"_s, u"--line"_s, u"0"_s, u"--digits"_s, u"12"_s});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, u"orvix-linesim: line 0 is ringing, cannot dial\n"_s);
    result = cli({u"answer"_s, u"--line"_s, u"1"_s});
    EXPECT_EQ(result.err, u"orvix-linesim: line 1 has no call\n"_s);

    const QString scenario = writeScenario("rest.txt",
                                           "answer --line 0\n"
                                           "dial --line 0 --digits '12#'\n"
                                           "sleep 1\n"
                                           "hangup --line 0\n");
    result = cli({u"play"_s, scenario});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    line = state(0);
    EXPECT_EQ(line.value(u"DispState"_s), u"0"_s);
    EXPECT_EQ(line.value(u"DispLastCallId"_s), u"1"_s);
    EXPECT_EQ(line.value(u"DispLastCallWasConnected"_s), u"1"_s);
    EXPECT_EQ(line.value(u"SimSentDtmf"_s), u"12#"_s);

    const QString failing = writeScenario("failing.txt",
                                          "# the call is already over\n"
                                          "hangup --line 0\n"
                                          "incoming --line 0 --number 1\n");
    result = cli({u"play"_s, failing});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, u"orvix-linesim: failing.txt:2: line 0 has no call\n"_s);
    EXPECT_EQ(state(0).value(u"DispCallId"_s), u"0"_s) << "the line after the failing one did not run";

    result = cli({u"quit"_s});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_FALSE(serviceRunning(service)) << "quit returns once the name is free";
    ASSERT_TRUE(server.waitForFinished(Deadline));
    EXPECT_EQ(server.exitCode(), 0) << server.readAllStandardError().toStdString();
    const QString log = QString::fromUtf8(server.readAllStandardOutput());
    EXPECT_TRUE(log.contains(u"line 0: LSRinging\nline 0: LSActive\nline 0: LSTerminated\nline 0: LSInactive\n"_s))
        << log.toStdString();
}

TEST_F(CliAgainstServer, SecondServerGivesUpAndTerminationReleasesTheName)
{
    const Result second = cli({u"serve"_s});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(
        second.err,
        u"orvix-linesim: the bus name %1 is already taken: a simulator or the softphone is running\n"_s.arg(service));

    server.terminate();
    ASSERT_TRUE(server.waitForFinished(Deadline));
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.exitCode(), 0) << server.readAllStandardError().toStdString();
    EXPECT_FALSE(serviceRunning(service));
}

} // namespace
