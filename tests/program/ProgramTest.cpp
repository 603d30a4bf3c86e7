// SPDX-License-Identifier: GPL-3.0-or-later

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
#include "WaitUntil.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOrvixBlockCaller.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOutlookItems.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "pim/PimItemDrafts.h"
#include "pim/PimItemFile.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "program/StartupWindows.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
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

// A journal entry for every incoming call, without a template.
std::unique_ptr<TParameters> ModelWithJournalRule()
{
    auto model = std::make_unique<TParameters>();
    auto* sequence = new TActionSequence;
    sequence->SetName(QStringLiteral("Gesprächsnotiz"));
    auto* journal = new TActionOutlookJournal;
    journal->SetTemplateActive(false);
    sequence->AddNewItem(journal);
    model->ActionSequences().AddNewItem(sequence);
    model->Rules().AddNewItem(IncomingRule(QStringLiteral("Notiz"), sequence));
    return model;
}

QStringList FilesIn(TPimFolderKind kind)
{
    const QDir folder(PimFolderPath(kind));
    QStringList paths;
    for (const QString& name : folder.entryList(QDir::Files))
        paths.append(folder.filePath(name));
    return paths;
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
        // A user who has been here before: without a rules file the first start seeds its own.
        TParameters().SaveObjectsToXMLFile(DataPathRulesFile());
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

    // A change comes as a working copy put in force; one not saved yet is saved at shutdown.
    std::shared_ptr<TParameters> changed = program.Model()->Clone();
    changed->Rules().Item<TRule>(0)->SetName(QStringLiteral("Kunde umbenannt"));
    program.SetModel(changed);
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
    // A folder where the rules file should be: it cannot be written. Made before
    // the change, so that it is no edit on disk newer than the change, which the
    // shutdown would keep.
    QFile::remove(DataPathRulesFile());
    ASSERT_TRUE(QDir().mkpath(DataPathRulesFile()));
    program.SetModel(ModelWithIncomingRule(QStringLiteral("Kunde")));
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

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
    QFileDevice::ExeOwner | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

// The windows' start-up steps: each records what the program had set up when it
// ran, and one may fail.
class RecordingWindows : public TStartupWindows
{
public:
    RecordingWindows(const TProgram& program, const TraceCapture& trace)
        : m_program(program)
        , m_trace(trace)
    {
    }

    void PlaceWindow() override { Record("PlaceWindow"); }
    void ShowTrayIcon() override { Record("ShowTrayIcon"); }
    void CreateWindowCollections() override { Record("CreateWindowCollections"); }
    void ReloadRuleList() override { Record("ReloadRuleList"); }
    void GreetNewUser() override { Record("GreetNewUser"); }

    QStringList steps;
    QString failing;

private:
    void Record(const QString& step)
    {
        const std::shared_ptr<TParameters>& model = m_program.Model();
        QString state = m_trace.Has(QStringLiteral("Main::FormCreate:DataPathRulesFile")) ? QStringLiteral("traced")
                                                                                          : QStringLiteral("-");
        if (model)
            state += QStringLiteral(", %1 rules, %2")
                         .arg(model->Rules().Count())
                         .arg(model->OrvixEventController() ? QStringLiteral("controller") : QStringLiteral("-"));
        steps << step + QStringLiteral(": ") + state;
        if (step == failing)
            throw EKestrunError(QStringLiteral("step failed"));
    }

    const TProgram& m_program;
    const TraceCapture& m_trace;
};

void SaveRulesWithAStartRule()
{
    auto model = ModelWithIncomingRule(QStringLiteral("Kunde"));
    auto* rule = IncomingRule(QStringLiteral("Beim Start"), model->ActionSequences().Item<TActionSequence>(0));
    rule->SetCallOptionBase({cobApplicationStart});
    model->Rules().AddNewItem(rule);
    ASSERT_TRUE(model->SaveObjectsToXMLFile(DataPathRulesFile()));
}

} // namespace

TEST_F(ProgramTest, TheWindowsStepsRunInTheirPlaceAmongTheProgramsOwn)
{
    SaveRulesWithAStartRule();
    TProgram program(&m_softphone);
    RecordingWindows windows(program, m_trace);
    program.Start(&windows);

    EXPECT_EQ(windows.steps,
              (QStringList {
                  QStringLiteral("PlaceWindow: -"),
                  QStringLiteral("ShowTrayIcon: traced"),
                  QStringLiteral("CreateWindowCollections: traced, 0 rules, -"),
                  QStringLiteral("ReloadRuleList: traced, 2 rules, -"),
              }));
    EXPECT_EQ(m_trace.Count(QStringLiteral("Main::AppException")), 0);
}

// One failing step must not cost the user the event controller or the start rules.
TEST_F(ProgramTest, AFailingStartUpStepIsTracedAndTheOthersStillRun)
{
    SaveRulesWithAStartRule();
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    // Where the trace folder should be made, a file is in the way.
    QFile blocker(runtime.filePath(QStringLiteral("Kestrun")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    // (A failure of the window placement, before the trace is set up, is cleared with the trace.)
    for (const QString& failing :
         {QStringLiteral("ShowTrayIcon"), QStringLiteral("CreateWindowCollections"), QStringLiteral("SetUpTrace")}) {
        SCOPED_TRACE(failing.toStdString());
        const ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR",
                                              failing == u"SetUpTrace" ? QFile::encodeName(runtime.path())
                                                                       : qgetenv("XDG_RUNTIME_DIR"));
        m_trace.Clear();
        TProgram program(&m_softphone);
        RecordingWindows windows(program, m_trace);
        windows.failing = failing;
        program.Start(&windows);

        EXPECT_EQ(m_trace.Count(QStringLiteral("Main::AppException")), 1);
        EXPECT_EQ(windows.steps.size(), 4);
        ASSERT_NE(program.Model(), nullptr);
        EXPECT_NE(program.Model()->OrvixEventController(), nullptr);
        EXPECT_EQ(m_trace.LastValue(QStringLiteral("Rule::ExecuteRule:Executing rule")), QStringLiteral("Beim Start"));
        program.Shutdown();
    }
}

TEST_F(ProgramTest, TheTraceIsWrittenWhereOnlyTheUserCanReadIt)
{
    TProgram program(&m_softphone);
    program.Start();
    const QFileInfo traceFile(TProgram::TraceFilePath());
    EXPECT_TRUE(traceFile.path().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
    EXPECT_EQ(QFile::permissions(traceFile.path()), OwnerOnly);
}

// A working copy made while processing was on and adopted after "Deaktivieren"
// must neither switch processing on behind the user's back nor keep "Aktivieren"
// from switching it on again.
TEST_F(ProgramTest, AnAdoptedWorkingCopyKeepsTheProcessingStateTheUserChose)
{
    ASSERT_TRUE(ModelWithIncomingRule(QStringLiteral("Kunde"))->SaveObjectsToXMLFile(DataPathRulesFile()));
    TProgram program(&m_softphone);
    program.Start();
    QSignalSpy changed(&program, &TProgram::ActiveChanged);
    std::shared_ptr<TParameters> edited = program.Model()->Clone();

    program.SetActive(false);
    EXPECT_EQ(RulesRunByACall(), 0);
    program.SetModel(edited);
    EXPECT_FALSE(program.Active());
    EXPECT_EQ(RulesRunByACall(), 0);

    program.SetActive(true);
    EXPECT_EQ(RulesRunByACall(), 1);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(program.Model()->Active());
}

TEST_F(ProgramTest, ReloadingPutsTheRulesOnDiskInForceAndKeepsTheModelWhenTheFileIsBroken)
{
    ASSERT_TRUE(ModelWithIncomingRule(QStringLiteral("Alt"))->SaveObjectsToXMLFile(DataPathRulesFile()));
    TProgram program(&m_softphone);
    program.Start();
    program.SetActive(false);

    ASSERT_TRUE(ModelWithIncomingRule(QStringLiteral("Neu"))->SaveObjectsToXMLFile(DataPathRulesFile()));
    QSignalSpy changed(&program, &TProgram::ModelChanged);
    EXPECT_TRUE(program.ReloadRules());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(program.Model()->Active()) << "a reload does not switch processing on";
    program.SetActive(true);
    QString ran;
    EXPECT_EQ(RulesRunByACall(&ran), 1);
    EXPECT_EQ(ran, QStringLiteral("Neu"));

    const std::shared_ptr<TParameters> inForce = program.Model();
    QFile broken(DataPathRulesFile());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<EventController><AllRules>");
    broken.close();
    EXPECT_FALSE(program.ReloadRules());
    EXPECT_EQ(program.Model(), inForce);
    EXPECT_EQ(changed.count(), 1);

    ASSERT_TRUE(QFile::remove(DataPathRulesFile()));
    EXPECT_FALSE(program.ReloadRules());
    EXPECT_EQ(program.Model(), inForce);
}

// A rules file that cannot be read: the user is told where a copy is kept, and
// nothing is written over the file until the user changes the rules.
TEST_F(ProgramTest, AnUnreadableRulesFileIsCopiedTheUserToldAndLeftAsItIsUntilAChange)
{
    const QByteArray broken = "<EventController><AllRules><Rule>";
    WriteFile(DataPathRulesFile(), broken);
    {
        TProgram program(&m_softphone);
        QSignalSpy warnings(&program, &TProgram::UserWarning);
        program.Start();
        ASSERT_EQ(warnings.count(), 1);
        const QString copy = m_trace.LastValue(QStringLiteral("Main::FormCreate:Unreadable rules file, copy kept as"));
        ASSERT_FALSE(copy.isEmpty());
        EXPECT_TRUE(warnings.at(0).at(0).toString().contains(copy));
        EXPECT_EQ(ReadFile(copy), broken);
        EXPECT_TRUE(program.Shutdown());
        EXPECT_EQ(ReadFile(DataPathRulesFile()), broken) << "written over without a change";
        EXPECT_EQ(ReadFile(copy), broken);
    }
    TProgram program(&m_softphone);
    program.Start();
    program.SetModel(ModelWithIncomingRule(QStringLiteral("Neu")));
    EXPECT_TRUE(program.SaveRules());
    EXPECT_TRUE(ReadFile(DataPathRulesFile()).contains("Neu"));
    const QDir kept(QFileInfo(DataPathRulesFile()).dir().filePath(QStringLiteral("unreadable")));
    EXPECT_EQ(kept.entryList(QDir::Files).size(), 2) << "each start keeps its copy";
}

// The rules file was edited on disk while the program ran: at exit the newer of the
// two stays, the file when nothing changed in the program since.
TEST_F(ProgramTest, ARulesFileEditedOnDiskIsKeptWhenItIsNewerThanTheLastChange)
{
    struct Case
    {
        const char* name;
        bool changeInTheProgram;
        int editSecondsAfterTheChange;
        const char* kept;
    };
    const Case cases[] = {
        {"no change in the program", false, 60, "Von Hand"},
        {"the file edited after the change", true, 60, "Von Hand"},
        {"the change made after the edit", true, -60, "Im Programm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ModelWithIncomingRule(QStringLiteral("Alt"))->SaveObjectsToXMLFile(DataPathRulesFile()));
        TProgram program(&m_softphone);
        program.Start();
        if (c.changeInTheProgram)
            program.SetModel(ModelWithIncomingRule(QStringLiteral("Im Programm")));
        ASSERT_TRUE(ModelWithIncomingRule(QStringLiteral("Von Hand"))->SaveObjectsToXMLFile(DataPathRulesFile()));
        QFile edited(DataPathRulesFile());
        ASSERT_TRUE(edited.open(QIODevice::ReadWrite));
        ASSERT_TRUE(edited.setFileTime(QDateTime::currentDateTime().addSecs(c.editSecondsAfterTheChange),
                                       QFileDevice::FileModificationTime));
        edited.close();
        EXPECT_TRUE(program.Shutdown());
        EXPECT_TRUE(ReadFile(DataPathRulesFile()).contains(c.kept));
        EXPECT_EQ(m_trace.Has(QStringLiteral("Main::FormClose:Rules file changed on disk after the last change, kept")),
                  c.changeInTheProgram && c.editSecondsAfterTheChange > 0);
    }
}

// The starter rules are for a user who has none from anywhere: the global
// template's rules, copied first, win.
TEST_F(ProgramTest, OnlyAStartWithoutAnyRulesFileSeedsTheStarterRules)
{
    QFile::remove(DataPathRulesFile());
    QTemporaryDir templateFolder;
    ASSERT_TRUE(templateFolder.isValid());
    ASSERT_TRUE(ModelWithIncomingRule(QStringLiteral("Zentral"))
                    ->SaveObjectsToXMLFile(templateFolder.filePath(QStringLiteral("rules.xml"))));
    m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                             "VelquistServer=127.0.0.1:1\n[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=" +
                                 QFile::encodeName(templateFolder.path()) + '\n');
    {
        TProgram program(&m_softphone);
        program.Start();
        EXPECT_FALSE(program.FirstStart());
        ASSERT_EQ(program.Model()->Rules().Count(), 1);
        EXPECT_EQ(program.Model()->Rules().Item<TRule>(0)->Name(), QStringLiteral("Zentral"));
        program.Shutdown();
    }

    QFile::remove(DataPathRulesFile());
    m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                             "VelquistServer=127.0.0.1:1\n[Storage]\nUseGlobalTemplate=0\n");
    TProgram program(&m_softphone);
    RecordingWindows windows(program, m_trace);
    program.Start(&windows);
    EXPECT_TRUE(program.FirstStart());
    EXPECT_EQ(program.Model()->Rules().Count(), 2);
    EXPECT_EQ(windows.steps.last(), QStringLiteral("GreetNewUser: traced, 2 rules, -")) << "once the list shows them";
    QString ran;
    EXPECT_EQ(RulesRunByACall(&ran), 1) << "the starter rule for external calls";
    EXPECT_EQ(ran, QStringLiteral("Externer Anruf"));
    program.Shutdown();
}

namespace {

// Rules whose only rule runs "Anrufer sperren" for every external incoming call.
std::unique_ptr<TParameters> ModelBlockingEveryCaller()
{
    auto model = std::make_unique<TParameters>();
    auto* sequence = new TActionSequence;
    sequence->SetName(QStringLiteral("Sperren"));
    sequence->AddNewItem(new TActionOrvixBlockCaller);
    model->ActionSequences().AddNewItem(sequence);
    model->Rules().AddNewItem(IncomingRule(QStringLiteral("Kunde"), sequence));
    return model;
}

QString BlockedNumbersIn(const TParameters& model)
{
    const auto* rule = model.Rules().Item<TRule>(0);
    return rule && rule->Name() == QStringLiteral("Gesperrte Nummern") ? rule->FromNumberIn() : QString();
}

} // namespace

// The caller's number goes into "Gesperrte Nummern", made at the top of the rules
// in force and saved like any change; the caller's next call is ended while it rings.
TEST_F(ProgramTest, AnActionBlocksTheCallerAndTheCallersNextCallIsEnded)
{
    ASSERT_TRUE(ModelBlockingEveryCaller()->SaveObjectsToXMLFile(DataPathRulesFile()));
    // A rule's run ends a call through the process's softphone.
    LineManagerService::SetInstance(&m_softphone);
    const auto unset = qScopeGuard([] { LineManagerService::SetInstance(nullptr); });
    TProgram program(&m_softphone);
    program.Start();

    EXPECT_EQ(RulesRunByACall(), 1);
    EXPECT_TRUE(m_softphone.operations.isEmpty()) << "the run that blocks keeps the rules it started with";
    ASSERT_EQ(program.Model()->Rules().Count(), 2);
    EXPECT_EQ(BlockedNumbersIn(*program.Model()), QStringLiteral("+49301234"));
    EXPECT_EQ(program.Model()->Rules().Item<TRule>(1)->Name(), QStringLiteral("Kunde"));
    TParameters saved;
    ASSERT_TRUE(saved.LoadObjectsFromXMLFile(DataPathRulesFile()));
    EXPECT_EQ(BlockedNumbersIn(saved), QStringLiteral("+49301234"));

    m_softphone.lines[0] = IncomingCall(6, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    EXPECT_EQ(RulesRunByACall(), 2);
    EXPECT_EQ(m_softphone.operations, QStringList {QStringLiteral("HookOn 0")});
    EXPECT_EQ(BlockedNumbersIn(*program.Model()), QStringLiteral("+49301234")) << "each number once";

    program.Shutdown();
    EXPECT_TRUE(m_trace.Has(QStringLiteral("Main::FormClose:Rules unchanged, rules file left as it is")))
        << "the block was saved as it was made";
}

// A caller's number that would match other callers as a pattern is refused and
// traced: it must not end their calls.
TEST_F(ProgramTest, ACallerWhoseNumberIsAPatternIsNotBlocked)
{
    ASSERT_TRUE(ModelBlockingEveryCaller()->SaveObjectsToXMLFile(DataPathRulesFile()));
    TProgram program(&m_softphone);
    program.Start();
    int callId = 10;
    for (const QString& number : {QString(), QStringLiteral("*"), QStringLiteral("030*"), QStringLiteral("0301;*"),
                                  QStringLiteral("03?1234")}) {
        SCOPED_TRACE(number.toStdString());
        m_softphone.lines[0] = IncomingCall(++callId, number, QStringLiteral("Mallory"));
        EXPECT_EQ(RulesRunByACall(), 1);
        EXPECT_TRUE(m_trace.Has(QStringLiteral("ActionOrvixBlockCaller::ExecuteAction:Caller cannot be blocked")));
        EXPECT_EQ(program.Model()->Rules().Count(), 1);
    }
    m_softphone.lines[0] = IncomingCall(++callId, QStringLiteral("0305555"), QStringLiteral("Anna Berg"));
    EXPECT_EQ(RulesRunByACall(), 1);
    EXPECT_TRUE(m_softphone.operations.isEmpty());
}

// "Beenden", SIGTERM or the session's end while the user types an item: the next
// start opens it again as it was, and once the user saved it the draft is gone.
TEST_F(ProgramTest, AnItemWindowOpenAtShutdownIsOfferedWithItsTextAtTheNextStart)
{
    ASSERT_TRUE(ModelWithJournalRule()->SaveObjectsToXMLFile(DataPathRulesFile()));
    TPimItem typed;
    {
        TProgram program(&m_softphone);
        FakeUserInterface ui;
        program.Start();
        ui.itemWindowEdit = [&](TPimItem& item) {
            item.Subject = QStringLiteral("Rückruf: Angebot; ../../etc");
            item.Body = QStringLiteral("Zeile eins\nZeile zwei");
            program.Shutdown();
            typed = item;
        };
        RulesRunByACall();
        ASSERT_EQ(ui.itemWindows.size(), 1u);
    }
    const QString open = QStringLiteral("TActionOutlookJournal::ExecuteAction: Open Journal");
    EXPECT_FALSE(m_trace.Has(open + QStringLiteral(": Discarded by the user")));
    const QStringList drafts = FilesIn(TPimFolderKind::ItemDrafts);
    ASSERT_EQ(drafts.size(), 1);
    EXPECT_EQ(m_trace.LastValue(open + QStringLiteral(": Closed at the program's end, kept as a draft")),
              drafts.front());

    TProgram program(&m_softphone);
    FakeUserInterface ui;
    program.Start();
    EXPECT_TRUE(ui.itemWindows.empty()) << "the start does not wait for the user";
    ASSERT_TRUE(WaitUntil([&ui] { return !ui.itemWindows.empty(); }, 5000));
    ASSERT_EQ(ui.itemWindows.size(), 1u);
    const TPimItem& offered = ui.itemWindows.front().item;
    EXPECT_EQ(offered.Kind, TPimItemKind::Journal);
    EXPECT_EQ(offered.Subject, typed.Subject);
    EXPECT_EQ(offered.Body, typed.Body);
    EXPECT_EQ(offered.Start.toSecsSinceEpoch(), typed.Start.toSecsSinceEpoch());
    EXPECT_EQ(ui.itemWindows.front().caller, QStringLiteral("Anna Berg (+49301234)"));

    const QStringList saved = FilesIn(TPimFolderKind::Journal);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(ReadPimItem(saved.front()).Subject, typed.Subject);
    EXPECT_EQ(m_trace.LastValue(QStringLiteral("Main::OfferItemDrafts: Saved")), saved.front());
    EXPECT_TRUE(FilesIn(TPimFolderKind::ItemDrafts).isEmpty());
}

TEST_F(ProgramTest, AnOfferedDraftGoesWhenTheUserDiscardsItAndStaysWhenTheProgramEndsAgain)
{
    TPimItem item;
    item.Kind = TPimItemKind::Task;
    item.Subject = QStringLiteral("Angebot schicken");
    const QString draft = KeepPimItemDraft(item);
    {
        TProgram program(&m_softphone);
        FakeUserInterface ui;
        ui.itemWindowEdit = [&program](TPimItem& shown) {
            shown.Body = QStringLiteral("bis Freitag");
            program.Shutdown();
        };
        program.Start();
        ASSERT_TRUE(WaitUntil([&ui] { return !ui.itemWindows.empty(); }, 5000));
    }
    const TPimItemDrafts kept = ReadPimItemDrafts();
    ASSERT_EQ(kept.Drafts.size(), 1u);
    EXPECT_EQ(kept.Drafts.front().Path, draft);
    EXPECT_EQ(kept.Drafts.front().Item.Body, QStringLiteral("bis Freitag"));

    TProgram program(&m_softphone);
    FakeUserInterface ui;
    ui.itemWindowAnswer = false;
    program.Start();
    ASSERT_TRUE(WaitUntil([&ui] { return !ui.itemWindows.empty(); }, 5000));
    EXPECT_EQ(ui.itemWindows.front().item.Body, QStringLiteral("bis Freitag"));
    EXPECT_TRUE(FilesIn(TPimFolderKind::ItemDrafts).isEmpty());
    EXPECT_TRUE(FilesIn(TPimFolderKind::Tasks).isEmpty());
    EXPECT_TRUE(m_trace.Has(QStringLiteral("Main::OfferItemDrafts: Discarded by the user")));
}

TEST_F(ProgramTest, AnUnreadableDraftIsKeptAsideAndToldWhileTheStartGoesOn)
{
    const QString broken = PimFolderPath(TPimFolderKind::ItemDrafts) + QStringLiteral("/abgebrochen.json");
    ASSERT_TRUE(QDir().mkpath(PimFolderPath(TPimFolderKind::ItemDrafts)));
    ASSERT_NO_FATAL_FAILURE(WriteFile(broken, "{\"kind\": \"task\", \"subject\": 7}"));
    TProgram program(&m_softphone);
    FakeUserInterface ui;
    QSignalSpy warnings(&program, &TProgram::UserWarning);
    program.Start();
    ASSERT_TRUE(WaitUntil([&warnings] { return !warnings.isEmpty(); }, 5000));
    const QString keptAs = m_trace.LastValue(QStringLiteral("Main::OfferItemDrafts:Unreadable draft, kept as"));
    ASSERT_FALSE(keptAs.isEmpty());
    EXPECT_EQ(ReadFile(keptAs), QByteArray("{\"kind\": \"task\", \"subject\": 7}"));
    EXPECT_EQ(warnings.front().front().toString(),
              QStringLiteral("Ein Entwurf konnte nicht gelesen werden. Er liegt jetzt unter \"%1\".").arg(keptAs));
    EXPECT_FALSE(QFileInfo::exists(broken));
    EXPECT_TRUE(ui.itemWindows.empty());
    EXPECT_NE(program.Model()->OrvixEventController(), nullptr) << "the start went on";
}
