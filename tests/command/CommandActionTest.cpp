// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandReceivers.h"
#include "ScopedEnvironment.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionDDEMessage.h"
#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

const QString SentTitle = QStringLiteral("TDDEMessage::ExecuteAction:Message sent");
const QString NotSentTitle = QStringLiteral("ActionDDEMessage::ExecuteAction:Message could not sent");
const QString NotReachableTitle = QStringLiteral("ActionDDEMessage::ExecuteAction:Service not reachable");

TActionDDEMessage* CommandAction(const QString& service, const QString& topic, const QStringList& results)
{
    auto* action = new TActionDDEMessage;
    action->SetDDEService(service);
    action->SetDDETopic(topic);
    for (const QString& result : results)
        action->AddNewItem(new ScriptedParameter(result));
    return action;
}

class CommandActionTest : public ::testing::Test
{
protected:
    // Runs the action alone and answers its outcome.
    bool Run(TActionDDEMessage* action)
    {
        TActionContext context(line);
        action->ExecuteAction(context);
        delete action;
        return context.ActionSuccessfull();
    }

    TraceCapture trace;
    std::shared_ptr<TOrvixLine> line = std::make_shared<TOrvixLine>();
};

} // namespace

TEST_F(CommandActionTest, ParameterResultsReachTheReceiverAsOneUnchangedText)
{
    SinkProcess sink(QStringLiteral("de.kestrun.test.Sink"), QStringLiteral("/crm/calls"));
    ASSERT_TRUE(sink.Started());

    // The topic without its leading "/" names the same object.
    EXPECT_TRUE(Run(CommandAction(QStringLiteral("de.kestrun.test.Sink"), QStringLiteral("crm/calls"),
                                  {QStringLiteral("open \"Jörg\" "), QStringLiteral("$(id); `x` | €")})));

    EXPECT_EQ(sink.Commands(), QStringList {QStringLiteral("open \"Jörg\" $(id); `x` | €")});
    EXPECT_EQ(trace.LastValue(QStringLiteral("ActionDDEMessage::ExecuteAction:Message")),
              QStringLiteral("open \"Jörg\" $(id); `x` | €"));
    EXPECT_TRUE(trace.Has(QStringLiteral("ActionDDEMessage::ExecuteAction:Sending DDE Message")));
    EXPECT_TRUE(trace.Has(SentTitle));
}

TEST_F(CommandActionTest, ReceiverWithoutOwnerIsStartedWithTheObjectPathThenReached)
{
    // The program named like the service: a script that records its process
    // and runs the sink under that name on the path it is given.
    QTemporaryDir bin;
    const QString service = QStringLiteral("de.kestrun.test.Started");
    const QString pidFile = bin.filePath(QStringLiteral("pid"));
    const QString outFile = bin.filePath(QStringLiteral("out"));
    QFile script(bin.filePath(service));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho $$ > '%1'\nexec '%2' --name %3 \"$1\" > '%4'\n")
                     .arg(pidFile, QStringLiteral(KESTRUN_COMMAND_SINK), service, outFile)
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    ScopedEnvironment path("PATH", bin.path().toUtf8() + ':' + qgetenv("PATH"));

    const bool sent = Run(CommandAction(service, QStringLiteral("inbox"), {QStringLiteral("call 0301234")}));

    QFile pid(pidFile);
    if (pid.open(QIODevice::ReadOnly))
        ::kill(pid.readAll().trimmed().toInt(), SIGTERM);
    EXPECT_TRUE(sent);
    EXPECT_EQ(trace.LastValue(QStringLiteral("ActionDDEMessage::ExecuteAction:Starting service program")),
              service + QStringLiteral(" /inbox"));
    QFile out(outFile);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("call 0301234\n"));
}

struct UnreachableCase
{
    const char* what;
    QString service;
    QString topic;
    QString errorTitle;
};

void PrintTo(const UnreachableCase& failure, std::ostream* out)
{
    *out << failure.what;
}

class CommandFailureTest : public CommandActionTest, public ::testing::WithParamInterface<UnreachableCase>
{
};

TEST_P(CommandFailureTest, FailedCommandIsTracedAndStopsTheActionsAfterIt)
{
    // The sink serves /served only, so a call to another object is answered with an
    // error. Each case has a name of its own: ctest runs the cases side by side on one bus.
    SinkProcess sink(QStringLiteral("de.kestrun.test.Sink") + QString::fromLatin1(GetParam().what),
                     QStringLiteral("/served"));
    ASSERT_TRUE(sink.Started());
    ScopedEnvironment path("PATH", QByteArray("/nonexistent"));

    QStringList log;
    auto* stopper = new TActionStopper;
    stopper->SetBlockOnSuccess(false);
    stopper->SetBlockAllActions(true);
    TActionSequence sequence;
    sequence.AddNewItem(CommandAction(GetParam().service, GetParam().topic, {QStringLiteral("x")}));
    sequence.AddNewItem(stopper);
    sequence.AddNewItem(new RecordingAction(QStringLiteral("after"), log));
    sequence.ExecuteActions(line);

    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(trace.Has(GetParam().errorTitle));
    EXPECT_FALSE(trace.Has(SentTitle));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandFailureTest,
    ::testing::Values(UnreachableCase {"NoOwnerNoProgram", QStringLiteral("de.kestrun.test.Nobody"),
                                       QStringLiteral("/"), NotReachableTitle},
                      UnreachableCase {"NoBusName", QStringLiteral("Excel"), QStringLiteral("Sheet1"),
                                       NotReachableTitle},
                      UnreachableCase {"NoService", QString(), QStringLiteral("/"), NotReachableTitle},
                      UnreachableCase {"UnknownObject", QStringLiteral("de.kestrun.test.SinkUnknownObject"),
                                       QStringLiteral("/elsewhere"), NotSentTitle},
                      UnreachableCase {"NoObjectPath", QStringLiteral("de.kestrun.test.SinkNoObjectPath"),
                                       QStringLiteral("a b"), NotSentTitle}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(CommandActionTest, ReceiverThatNeverAnswersIsGivenUpWhileEventsGoOn)
{
    HangingReceiver receiver(QStringLiteral("de.kestrun.test.Hanging"));
    ASSERT_TRUE(WaitForBusName(QStringLiteral("de.kestrun.test.Hanging")));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(100);

    EXPECT_FALSE(Run(CommandAction(QStringLiteral("de.kestrun.test.Hanging"), QString(), {QStringLiteral("x")})));

    EXPECT_EQ(receiver.received, 1);
    EXPECT_TRUE(trace.Has(NotSentTitle));
    // Timers ran during the wait: windows and line notifications were not frozen.
    EXPECT_GT(ticks, 5);
}
