// SPDX-License-Identifier: GPL-3.0-or-later

// Calls through the simulated softphone on lines whose previous call's rules still
// wait: for the user in an item window, for a slow directory server. Every call
// gets every rule run, each with its own caller's data.
#include "FakeUserInterface.h"
#include "ScopedEnvironment.h"
#include "TestActions.h"
#include "TestFiles.h"
#include "VelquistTestSupport.h"
#include "WaitUntil.h"

#include "engine/RulesRun.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterVelquist.h"
#include "rulesfile/Parameters.h"
#include "telephony/DBusLineManagerService.h"
#include "telephony/OrvixEvent.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <memory>

namespace {

// Generous: sanitizer builds on a shared machine start processes slowly.
constexpr int Deadline = 30000;

bool waitUntil(const std::function<bool()>& condition, int milliseconds = Deadline)
{
    return WaitUntil(condition, milliseconds);
}

const QString DemoDir = QStringLiteral(KESTRUN_TEST_DATA "/../../tools/demo");

std::string Field(const std::string& name, const std::string& value)
{
    return "<DataSet><diffgr:diffgram><R><T><" + name + ">" + value + "</" + name +
        "></T></R></diffgr:diffgram></DataSet>";
}

// The program's path for a call: the simulator on the bus, the event controller,
// the rules of a model, a directory server on this machine.
class BusyLines : public VelquistFixture
{
protected:
    void SetUp() override
    {
        VelquistFixture::SetUp();
        TVelquist::SetBaseUrl(QStringLiteral("http://") + m_server.Host());
        LineManagerService::SetInstance(&m_bus);
        m_simulator.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE),
                          {QStringLiteral("--service"), m_service, QStringLiteral("serve"),
                           QStringLiteral("--terminated-ms"), QStringLiteral("300")});
        ASSERT_TRUE(m_simulator.waitForStarted(Deadline));
        ASSERT_TRUE(waitUntil([this] { return m_bus.IsAvailable(); }));
        m_controller = std::make_unique<TOrvixEventController>(&m_bus);
        m_controller->SetRuleRunner(
            [model = m_model](TOrvixLine& line, const QString& state) { RunRules(*model, line, state); });
    }

    void TearDown() override
    {
        m_controller.reset();
        m_simulator.terminate();
        m_simulator.waitForFinished(Deadline);
        VelquistFixture::TearDown();
    }

    // Plays the scenario's commands on the simulator from a process of their own,
    // while this test's event loop takes the notifications in.
    void Play(const QStringList& commands)
    {
        QFile file(m_folder.filePath(QStringLiteral("scenario.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(commands.join(u'\n').toUtf8());
        file.close();
        m_player.start(QStringLiteral(ORVIX_LINESIM_EXECUTABLE),
                       {QStringLiteral("--service"), m_service, QStringLiteral("play"), file.fileName()});
        ASSERT_TRUE(m_player.waitForStarted(Deadline));
    }

    bool PlayerSucceeded()
    {
        return waitUntil([this] { return m_player.state() == QProcess::NotRunning; }) && m_player.exitCode() == 0;
    }

    QTemporaryDir m_folder;
    LocalHttpServer m_server;
    // ctest runs test programs side by side on one session bus.
    QString m_service = QStringLiteral("com.orvixit.Softphone.test.busy.p%1").arg(QCoreApplication::applicationPid());
    DBusLineManagerService m_bus {m_service};
    QProcess m_simulator;
    QProcess m_player;
    std::shared_ptr<TParameters> m_model = std::make_shared<TParameters>();
    std::unique_ptr<TOrvixEventController> m_controller;
};

QString CallerOf(const TMessageWindowRequest& request)
{
    for (const TMessageRow& row : request.Rows) {
        if (row.Alias == u"Name")
            return row.Value;
    }
    return {};
}

} // namespace

// The demo's rules as they ship: when a call ends, a journal entry opens for the user.
// While it is still open, the next call rings on the same line (as the SIP bridge
// rings the first free line) and must get its notification, and its own journal entry.
TEST_F(BusyLines, CallOnTheLineOfAnOpenJournalEntryGetsItsRules)
{
    QFile shipped(DemoDir + QStringLiteral("/rules.xml"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    // As scripts/demo seeds the rules file.
    const QString rules = QString::fromUtf8(shipped.readAll()).replace(QStringLiteral("@KESTRUN_DEMO_DIR@"), DemoDir);
    const QString path = m_folder.filePath(QStringLiteral("rules.xml"));
    WriteFile(path, rules.toUtf8());
    ASSERT_TRUE(m_model->LoadObjectsFromXMLFile(path));
    const ScopedEnvironment demoDir("KESTRUN_DEMO_DIR", DemoDir.toUtf8());
    const ScopedEnvironment callLog("KESTRUN_CALL_LOG", m_folder.filePath(QStringLiteral("call-log.txt")).toUtf8());
    LocalHttpServer::Answer answer;
    answer.body = Field("company", "Berg GmbH");
    m_server.SetAnswer(answer);

    FakeUserInterface ui;
    const auto bernsNotificationShown = [&ui] {
        return std::any_of(ui.shown.begin(), ui.shown.end(),
                           [](const TMessageWindowRequest& request) { return CallerOf(request) == u"Bernd Weber"; });
    };
    // Anna's journal entry stays open until Bernd's notification was shown (or long enough to tell it never will).
    int openWindows = 0;
    ui.itemWindowEdit = [&](TPimItem&) {
        if (openWindows++ == 0)
            waitUntil(bernsNotificationShown, 20000);
    };
    Play({"incoming --line 0 --number 0301234567 --name 'Anna Berg' --external", "sleep 100", "answer --line 0",
          "sleep 100", "hangup --line 0", "sleep 800",
          "incoming --line 0 --number 0897654 --name 'Bernd Weber' --external", "sleep 100", "answer --line 0",
          "sleep 100", "hangup --line 0"});

    ASSERT_TRUE(waitUntil([&ui] { return ui.itemWindows.size() == 2; })) << "a call ended without its rule";
    EXPECT_TRUE(PlayerSucceeded());
    EXPECT_TRUE(bernsNotificationShown());
    QStringList callers;
    for (const auto& window : ui.itemWindows)
        callers.append(window.caller);
    callers.sort();
    ASSERT_EQ(callers.size(), 2);
    EXPECT_TRUE(callers[0].contains(u"Anna Berg")) << callers[0].toStdString();
    EXPECT_TRUE(callers[1].contains(u"Bernd Weber")) << callers[1].toStdString();
}

// 20 calls round-robin over 4 lines, a simulator command every 100 ms; three rules
// (ringing, answered, ended), each looking the caller up on a directory server that
// answers after 2 s. Every rule runs once per call, with that call's caller.
TEST_F(BusyLines, EveryRuleRunsForEveryCallUnderLoad)
{
    LocalHttpServer::Answer slow;
    slow.delay = std::chrono::seconds(2);
    slow.bodyFor = [](const httplib::Params& form) {
        const auto key = form.find("SearchKey");
        return Field("surname", key == form.end() ? std::string() : key->second);
    };
    m_server.SetAnswer(slow);
    QStringList log;
    QList<RecordingAction*> actions;
    const std::pair<const char*, TCallOptionIn> rules[] = {
        {"Klingelt", coiIncomingCall}, {"Angenommen", coiCallPickUp}, {"Beendet", coiCallTerminated}};
    for (const auto& [name, when] : rules) {
        auto* action = new RecordingAction(QString::fromLatin1(name), log);
        for (const char* value : {"orvixCallerName", "orvixCallerNumber"}) {
            auto* parameter = new TParameterOrvix;
            parameter->SetParameterValue(QString::fromLatin1(value));
            action->AddNewItem(parameter);
        }
        auto* lookup = new TParameterVelquist;
        lookup->SetSearchOptionOrvix(true);
        lookup->SetSearchOptionOrvixValue(QStringLiteral("orvixCallerNumber"));
        lookup->SetSearchField(QStringLiteral("searchnumber"));
        lookup->SetParameterValue(QStringLiteral("surname"));
        action->AddNewItem(lookup);
        auto* sequence = new TActionSequence;
        sequence->AddNewItem(action);
        m_model->ActionSequences().AddNewItem(sequence);
        TRule* rule = IncomingRule(QString::fromLatin1(name), sequence);
        rule->SetCallOptionIn({when});
        m_model->Rules().AddNewItem(rule);
        actions.append(action);
    }

    // Four calls at a time, one per line, each rung, answered and ended in turn.
    constexpr int Calls = 20;
    constexpr int Lines = 4;
    QStringList commands;
    for (int first = 0; first < Calls; first += Lines) {
        for (const char* step : {"incoming", "answer", "hangup"}) {
            for (int call = first; call < first + Lines; ++call) {
                QString command = QStringLiteral("%1 --line %2").arg(QLatin1String(step)).arg(call % Lines);
                if (step == std::string_view("incoming"))
                    command += QStringLiteral(" --number 030100%1 --name 'Anrufer %1' --external")
                                   .arg(call, 2, 10, QLatin1Char('0'));
                commands << command << QStringLiteral("sleep 100");
            }
        }
    }
    Play(commands);

    const auto runs = [&actions] {
        qsizetype count = 0;
        for (const RecordingAction* action : actions)
            count += action->results.size();
        return count;
    };
    EXPECT_TRUE(PlayerSucceeded());
    ASSERT_TRUE(waitUntil([&] { return runs() == 3 * Calls; }, 120000)) << runs() << " of 60 rule runs";
    for (const RecordingAction* action : actions) {
        SCOPED_TRACE(action->Caption().toStdString());
        QSet<QString> callers;
        for (qsizetype run = 0; run < action->results.size(); ++run) {
            const QStringList texts = action->Texts(run);
            ASSERT_EQ(texts.size(), 3);
            const QString index = texts[0].right(2);
            EXPECT_EQ(texts[0], QStringLiteral("Anrufer ") + index);
            EXPECT_EQ(texts[1], QStringLiteral("+4930100") + index) << texts[0].toStdString();
            EXPECT_EQ(texts[2], texts[1]) << "the lookup of another caller";
            callers.insert(texts[0]);
        }
        EXPECT_EQ(callers.size(), Calls);
    }
}
