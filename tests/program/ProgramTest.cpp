// The running program without windows: start-up, calls meeting the model in
// force, settings announced to whoever listens, and shutdown.
#include "program/Program.h"
#include "FakeLineManager.h"
#include "FakeUserInterface.h"
#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "TestActions.h"
#include "TestFiles.h"
#include "TraceCapture.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOrvixDTMF.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "platform/DataPaths.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TParameters> ModelWithIncomingRule(const QString& ruleName)
{
    auto model = std::make_unique<TParameters>();
    auto* sequence = new TActionSequence;
    sequence->SetName(QStringLiteral("Ansage"));
    auto* action = new TActionOrvixDTMF;
    action->SetCaption(QStringLiteral("Töne"));
    sequence->AddNewItem(action);
    model->ActionSequences().AddNewItem(sequence);
    model->Rules().AddNewItem(IncomingRule(ruleName, sequence));
    return model;
}

class ProgramTest : public ::testing::Test
{
protected:
    ProgramTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()))
    {
        QDir().mkpath(UserDataPath());
        // Discovery asks this address first; nothing listens there.
        m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                                 "VelquistServer=127.0.0.1:1\n");
        m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    }

    // Plays a call on line 0; returns how many rules it ran, the last one's name in lastRule.
    int RulesRunByACall(QString* lastRule = nullptr)
    {
        m_trace.Clear();
        m_softphone.ChangeState(0, LSRinging);
        FakeLineManager::Deliver();
        m_softphone.ChangeState(0, LSInactive);
        FakeLineManager::Deliver();
        const QString title = QStringLiteral("Rule::ExecuteRule:Executing rule");
        if (lastRule)
            *lastRule = m_trace.LastValue(title);
        return m_trace.Count(title);
    }

    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    SettingsSandbox m_settings;
    FakeLineManager m_softphone;
    TraceCapture m_trace;
};

} // namespace

TEST_F(ProgramTest, StartsHeadlessRunsCallsThroughTheRulesAndSavesThemAtShutdown)
{
    ASSERT_TRUE(ModelWithIncomingRule(QStringLiteral("Kunde"))->SaveObjectsToXMLFile(DataPathRulesFile()));
    TProgram program(&m_softphone);
    program.Start();

    ASSERT_NE(program.Model(), nullptr);
    ASSERT_EQ(program.Model()->Rules().Count(), 1);
    ASSERT_NE(program.Model()->OrvixEventController(), nullptr);
    EXPECT_EQ(RulesRunByACall(), 1);

    program.Model()->Rules().Item<TRule>(0)->SetName(QStringLiteral("Kunde umbenannt"));
    EXPECT_TRUE(program.Shutdown());
    EXPECT_TRUE(ReadFile(DataPathRulesFile()).contains("Kunde umbenannt"));

    ASSERT_TRUE(QFile::remove(DataPathRulesFile()));
    EXPECT_TRUE(program.Shutdown());
    EXPECT_FALSE(QFile::exists(DataPathRulesFile())) << "the shutdown sequence runs once";
}

// Whoever asks after the shutdown (the end of the program, for its exit status)
// learns whether the rules were saved.
TEST_F(ProgramTest, AFailedSaveAtShutdownStaysAFailure)
{
    TProgram program(&m_softphone);
    program.Start();
    ASSERT_TRUE(QDir().mkpath(DataPathRulesFile()));
    EXPECT_FALSE(program.Shutdown());
    EXPECT_EQ(m_trace.Count(QStringLiteral("Main::FormClose:Cannot save File ") + DataPathRulesFile()), 1);
    EXPECT_FALSE(program.Shutdown());
    EXPECT_EQ(m_trace.Count(QStringLiteral("Main::FormClose:Application shut down")), 1);
}

TEST_F(ProgramTest, ACallMeetsTheModelInForceWhenItsStateArrives)
{
    TProgram program(&m_softphone);
    program.Start();
    ASSERT_EQ(RulesRunByACall(), 0);

    // An editor's confirmed working copy, which shares the event controller.
    std::shared_ptr<TParameters> edited = program.Model()->Clone();
    const std::unique_ptr<TParameters> made = ModelWithIncomingRule(QStringLiteral("Neu"));
    ASSERT_TRUE(edited->LoadObjectsFromXMLDoc(*made->SaveObjectsToXMLDoc()));
    QSignalSpy changed(&program, &TProgram::ModelChanged);
    program.SetModel(edited);

    EXPECT_EQ(changed.count(), 1);
    QString ran;
    EXPECT_EQ(RulesRunByACall(&ran), 1);
    EXPECT_EQ(ran, QStringLiteral("Neu"));
}

TEST_F(ProgramTest, SettingsChangesAreAnnouncedOnceWithTheNewValue)
{
    TProgram program(&m_softphone);
    QSignalSpy notification(&program, &TProgram::NotificationSettingsChanged);
    QSignalSpy storage(&program, &TProgram::StorageOptionsChanged);

    TNotificationSettings settings = program.NotificationSettings();
    settings.DesktopNotificationPosition = 3;
    program.SetNotificationSettings(settings);
    program.SetNotificationSettings(settings);
    TStorageOptions options = program.StorageOptions();
    options.UseGlobalTemplate = gtNone;
    program.SetStorageOptions(options);

    ASSERT_EQ(notification.count(), 1);
    EXPECT_EQ(notification.at(0).at(0).value<TNotificationSettings>().DesktopNotificationPosition, 3);
    EXPECT_EQ(program.NotificationSettings(), settings);
    ASSERT_EQ(storage.count(), 1);
    EXPECT_EQ(program.StorageOptions().UseGlobalTemplate, gtNone);
}

// Copies and imports give two actions the same ID: the first in list order is
// preloaded, the second is skipped and start-up goes on to the program-start rules.
TEST_F(ProgramTest, PreloadsMarkedHtmlMessagesOncePerIdAndClosesWindowsAtShutdown)
{
    auto model = ModelWithIncomingRule(QStringLiteral("Kunde"));
    auto* sequence = new TActionSequence;
    const QStringList urls {QStringLiteral("https://a.example"), QStringLiteral("https://b.example"),
                            QStringLiteral("https://c.example")};
    for (const QString& url : urls) {
        auto* html = new TActionHTMLMessage;
        html->SetHTMLWebserverUrl(url);
        html->SetShowInvisible(url != urls.at(2));
        sequence->AddNewItem(html);
    }
    sequence->Action(1)->SetID(sequence->Action(0)->ID());
    model->ActionSequences().AddNewItem(sequence);
    ASSERT_TRUE(model->SaveObjectsToXMLFile(DataPathRulesFile()));

    FakeUserInterface ui;
    TProgram program(&m_softphone);
    program.Start();
    ASSERT_EQ(ui.preloaded.size(), 1u);
    EXPECT_EQ(ui.preloaded.front().Page.WebserverUrl, urls.at(0));
    EXPECT_EQ(ui.preloaded.front().Line, nullptr);
    EXPECT_EQ(m_trace.Count(QStringLiteral("Main::PreLoadMessageForms:Action ID preloaded already, skipped")), 1);

    EXPECT_EQ(ui.closeCount, 0);
    program.Shutdown();
    EXPECT_EQ(ui.closeCount, 1);
}
