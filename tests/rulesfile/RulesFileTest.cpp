// SPDX-License-Identifier: GPL-3.0-or-later

#include "RulesFileSupport.h"

#include "FakeLineManager.h"
#include "ScopedEnvironment.h"
#include "TraceCapture.h"

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOrvixTakeCall.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ActionSendEMail.h"
#include "actions/ActionStopper.h"
#include "engine/TemplateFilling.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterUser.h"
#include "platform/DataPaths.h"
#include "telephony/OrvixEvent.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <climits>
#include <csignal>
#include <sys/resource.h>

namespace {

// One rule linked to one sequence with one action: what the tests below start from.
void AddSample(TParameters& parameters, const QString& name)
{
    auto* sequence = new TActionSequence;
    sequence->SetName(name);
    sequence->AddNewItem(new TActionStopper);
    parameters.ActionSequences().AddNewItem(sequence);
    auto* rule = new TRule;
    rule->SetName(name);
    // An empty origin set would read back as both origins.
    rule->SetCallOptionInEx({coIntern, coExtern});
    rule->AddNewItem(sequence);
    parameters.Rules().AddNewItem(rule);
}

} // namespace

using RulesFile = FileTest;

TEST_F(RulesFile, ElementNamesInAnyCaseLoadAsSpelledExactly)
{
    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(TestDataFile(QStringLiteral("rules_mixed_case.xml"))));

    // The second sequence is numbered with "REP", which is not the attribute the reader knows.
    ASSERT_EQ(Names(parameters.ActionSequences()), QStringList {QStringLiteral("Popup")});
    const TActionSequence* sequence = SequenceAt(parameters, 0);
    EXPECT_EQ(sequence->ID(), QStringLiteral("{5D1A7C10-0000-4000-8000-000000000001}"));
    EXPECT_EQ(sequence->IconIndex(), 7);
    ASSERT_EQ(sequence->Count(), 1);
    const auto* balloon = qobject_cast<TActionBalloonMessage*>(sequence->Action(0));
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->Caption(), QStringLiteral("Anrufer zeigen"));
    EXPECT_TRUE(balloon->Active());
    EXPECT_TRUE(balloon->TimeOut());
    EXPECT_EQ(balloon->TimeOutSec(), 12);
    EXPECT_EQ(balloon->ActionSequencesIDs(), QStringList {sequence->ID()});
    ASSERT_EQ(balloon->Count(), 1);
    EXPECT_EQ(balloon->Parameter(0)->ParameterValue(), QStringLiteral("orvixCallerName"));
    EXPECT_TRUE(balloon->Parameter(0)->ShowAlias());

    ASSERT_EQ(parameters.Rules().Count(), 1);
    const TRule* rule = RuleAt(parameters, 0);
    EXPECT_EQ(rule->Name(), QStringLiteral("Kunde"));
    EXPECT_TRUE(rule->Active());
    EXPECT_EQ(rule->CallOptionBase(), TCallOptionBaseSet {cobIn});
    EXPECT_EQ(rule->CallOptionInEx(), TCallOptionInExSet {coExtern});
    EXPECT_EQ(rule->CallOptionIn(), TCallOptionInSet {coiIncomingCall});
    EXPECT_EQ(rule->FromNumberIn(), QStringLiteral("0711*"));
    EXPECT_EQ(rule->GetObject(0), sequence);

    // Written back, every name is spelled the one way.
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(FilePath(QStringLiteral("rules.xml"))));
    const QByteArray saved = ReadFile(FilePath(QStringLiteral("rules.xml")));
    EXPECT_TRUE(saved.startsWith(R"(<?xml version="1.0" encoding="UTF-8"?>)"));
    EXPECT_TRUE(saved.contains("\t\t\t\t\t<TimeOutSec>12</TimeOutSec>\n"));
    EXPECT_TRUE(saved.contains("<Option rep=\"1\">\n\t\t\t\t\t<Value>1</Value>\n\t\t\t\t\t<Name>coExtern</Name>"));
}

// The loader matches names ignoring case instead of rewriting the file's text with
// every element name in capitals and parsing it again; both must read every file alike.
TEST_F(RulesFile, LoaderReadsFilesAsTheTextInCapitalsWouldRead)
{
    constexpr unsigned options = TParameters::XmlParseOptions;
    const QRegularExpression generatedIDs(QStringLiteral("<ID>[^<]*</ID>"));
    int compared = 0;
    for (const QString& name : QDir(TestDataFile({})).entryList({QStringLiteral("*.xml")}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        pugi::xml_document parsed;
        if (!parsed.load_file(QFile::encodeName(TestDataFile(name)).constData(), options) || !parsed.document_element())
            continue;
        std::ostringstream text;
        parsed.save(text, "\t");
        pugi::xml_document capitals;
        ASSERT_TRUE(capitals.load_string(
            MakeCaseInsentiveXML(QString::fromStdString(text.str()), csUpper).toUtf8().constData(), options));
        TParameters viaText;
        const bool loadedViaText = viaText.LoadActionSequencesFromXML(capitals) && viaText.LoadRulesFromXML(capitals);

        TParameters loader;
        EXPECT_EQ(loader.LoadObjectsFromXMLFile(TestDataFile(name)), loadedViaText);
        // Objects without a stored ID get fresh ones on either way.
        EXPECT_EQ(QString::fromStdString(SavedText(loader)).replace(generatedIDs, QString()),
                  QString::fromStdString(SavedText(viaText)).replace(generatedIDs, QString()));
        ++compared;
    }
    EXPECT_GE(compared, 6);
}

TEST_F(RulesFile, ListsAreReadByRepNumberUpToTheFirstGap)
{
    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(TestDataFile(QStringLiteral("rules_rep_numbers.xml"))));
    EXPECT_EQ(Names(parameters.ActionSequences()), QStringList {QStringLiteral("First")});
    EXPECT_EQ(Names(parameters.Rules()), (QStringList {QStringLiteral("Rule one"), QStringLiteral("Rule two")}));
}

TEST_F(RulesFile, OptionsAndLinkedSequencesOfRules)
{
    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(TestDataFile(QStringLiteral("rules_options.xml"))));
    const TCallOptionInExSet both {coIntern, coExtern};
    struct Expected
    {
        bool active;
        TCallOptionBaseSet base;
        TCallOptionInExSet inEx;
        TCallOptionOutSet out;
        bool linked;
    };
    const Expected expected[] {
        {true, {cobTransfer, cobNotification, cobOut}, both, {cooTerminated}, false},
        {false, {}, both, {}, false},
        {false, {}, {}, {}, false},
        {false, {}, both, {}, false},
        {false, {}, both, {}, false},
        {false, {}, both, {}, false},
        {false, {}, {coIntern}, {}, true},
    };
    ASSERT_EQ(parameters.Rules().Count(), int(std::size(expected)));
    for (int i = 0; i < parameters.Rules().Count(); ++i) {
        const TRule* rule = RuleAt(parameters, i);
        SCOPED_TRACE(rule->Name().toStdString());
        EXPECT_EQ(rule->Active(), expected[i].active);
        EXPECT_EQ(rule->CallOptionBase(), expected[i].base);
        EXPECT_EQ(rule->CallOptionInEx(), expected[i].inEx);
        EXPECT_EQ(rule->CallOptionOut(), expected[i].out);
        EXPECT_EQ(rule->Count(), expected[i].linked ? 1 : 0);
    }
    EXPECT_EQ(RuleAt(parameters, 6)->GetObject(0), SequenceAt(parameters, 0));
}

// scripts/demo seeds this file: a broken sample would greet a new user with an empty screen.
TEST_F(RulesFile, DemoRulesOfferCustomerCardAndTakeCallOnTheCallersNotification)
{
    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(QStringLiteral(KESTRUN_TEST_DATA "/../../tools/demo/rules.xml")));
    ASSERT_EQ(parameters.ActionSequences().Count(), 4);
    ASSERT_EQ(parameters.Rules().Count(), 2);
    const TActionSequence* card = SequenceAt(parameters, 1);
    const TActionSequence* take = SequenceAt(parameters, 2);
    EXPECT_EQ(RuleAt(parameters, 0)->GetObject(0), SequenceAt(parameters, 0));
    const auto* balloon = qobject_cast<const TActionBalloonMessage*>(SequenceAt(parameters, 0)->Action(0));
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->AssociatedActionSequences(), (QStringList {card->ID(), take->ID()}));
    EXPECT_NE(qobject_cast<const TActionOrvixTakeCall*>(take->Action(0)), nullptr);
    const auto* html = qobject_cast<const TActionHTMLMessage*>(card->Action(0));
    ASSERT_NE(html, nullptr);
    EXPECT_EQ(html->HTMLTemplate(), QStringLiteral("%KESTRUN_DEMO_DIR%/kundenkarte.htm"));
    EXPECT_FALSE(html->DefaultWidth());

    // Every tag of the card's template is one of the action's parameters.
    const ScopedEnvironment demoDir("KESTRUN_DEMO_DIR", KESTRUN_TEST_DATA "/../../tools/demo");
    QList<TParamResult> results;
    for (int i = 0; i < html->Count(); ++i)
        results.append({html->Parameter(i), QStringLiteral("Wert%1").arg(i)});
    const QString page = FillHTMLTemplate(html->HTMLTemplate(), TemplateResultList(results));
    EXPECT_FALSE(page.contains(QStringLiteral("invalid!")));
    for (int i = 0; i < html->Count(); ++i)
        EXPECT_TRUE(page.contains(QStringLiteral("Wert%1").arg(i))) << i;
}

// When the call ends, the demo opens a journal entry whose template shows every parameter.
TEST_F(RulesFile, DemoRulesOpenAJournalEntryWhenTheCallEnds)
{
    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(QStringLiteral(KESTRUN_TEST_DATA "/../../tools/demo/rules.xml")));
    const TRule* ended = RuleAt(parameters, 1);
    EXPECT_EQ(ended->CallOptionIn(), TCallOptionInSet {coiCallTerminated});
    EXPECT_EQ(ended->GetObject(0), SequenceAt(parameters, 3));
    const auto* journal = qobject_cast<const TActionOutlookJournal*>(SequenceAt(parameters, 3)->Action(0));
    ASSERT_NE(journal, nullptr);
    EXPECT_TRUE(journal->TemplateActive());
    // The item actions read the template path as stored; the demo puts its folder in when it seeds the file.
    QString path = journal->Template();
    EXPECT_TRUE(path.startsWith(QStringLiteral("@KESTRUN_DEMO_DIR@/")));
    path.replace(QStringLiteral("@KESTRUN_DEMO_DIR@"), QStringLiteral(KESTRUN_TEST_DATA "/../../tools/demo"));
    QList<TParamResult> results;
    for (int i = 0; i < journal->Count(); ++i)
        results.append({journal->Parameter(i), QStringLiteral("Wert%1").arg(i)});
    const QStringList resultList = TemplateResultList(results);
    const QString text = HandleTemplate(path, &resultList, TTemplateFiller::OutlookBase);
    EXPECT_FALSE(text.contains(QStringLiteral("invalid!"))) << text.toStdString();
    for (int i = 0; i < journal->Count(); ++i)
        EXPECT_TRUE(text.contains(QStringLiteral("Wert%1").arg(i))) << i;
}

// The demo's second action appends the caller to a call log through a shipped script.
TEST_F(RulesFile, DemoRulesLogTheCallerThroughTheShippedScript)
{
    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(QStringLiteral(KESTRUN_TEST_DATA "/../../tools/demo/rules.xml")));
    auto* program = qobject_cast<TActionExecuteProgram*>(SequenceAt(parameters, 0)->Action(1));
    ASSERT_NE(program, nullptr);
    EXPECT_FALSE(program->WaitForTerminate());

    // Waiting here only lets the test read the log as soon as the script is done.
    program->SetWaitForTerminate(true);
    QTemporaryDir folder;
    const QString log = folder.filePath(QStringLiteral("call-log.txt"));
    const ScopedEnvironment logTo("KESTRUN_CALL_LOG", log.toUtf8());
    const ScopedEnvironment demoDir("KESTRUN_DEMO_DIR", KESTRUN_TEST_DATA "/../../tools/demo");
    auto line = std::make_shared<TOrvixLine>();
    // A SIP peer chooses both: a line break in the number, a terminal escape in the name.
    line->SetCallerNumber(QStringLiteral("0301234\n2026-01-01 00:00:00\t110"));
    line->SetCallerName(QStringLiteral("Anna \"$(id)\"\x1b]2;owned\x07\\Maria"));
    TActionContext context(line);
    program->ExecuteAction(context);
    EXPECT_TRUE(context.ActionSuccessfull());
    EXPECT_TRUE(ReadFile(log).endsWith(
        "\t0301234\\x0A2026-01-01 00:00:00\\x09110\tAnna \"$(id)\"\\x1B]2;owned\\x07\\\\Maria\n"))
        << ReadFile(log).toStdString();
    EXPECT_EQ(ReadFile(log).count('\n'), 1);
}

TEST_F(RulesFile, RuleWithoutOriginReloadsWithBothOrigins)
{
    TParameters parameters;
    AddSample(parameters, QStringLiteral("A"));
    RuleAt(parameters, 0)->SetCallOptionInEx({});
    const QString file = FilePath(QStringLiteral("rules.xml"));
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(file));
    EXPECT_TRUE(ReadFile(file).contains("<CallOptionInEx />"));

    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLFile(file));
    EXPECT_EQ(RuleAt(reloaded, 0)->CallOptionInEx(), (TCallOptionInExSet {coIntern, coExtern}));
}

// A rule runs every sequence linked to it, in its own order, so every link is
// stored; a single link keeps the form files have always had.
TEST_F(RulesFile, EveryLinkedSequenceSurvivesSavingLoadingAndCopying)
{
    TParameters parameters;
    for (const char* name : {"A", "B", "C"})
        AddSample(parameters, QString::fromUtf8(name));
    RuleAt(parameters, 0)
        ->SetMainList({SequenceAt(parameters, 2), SequenceAt(parameters, 0), SequenceAt(parameters, 2)});
    const QString file = FilePath(QStringLiteral("rules.xml"));
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(file));

    const QByteArray saved = ReadFile(file);
    EXPECT_TRUE(saved.contains("<LinkedActionSequences>\n\t\t\t\t<ActionSequence rep=\"1\">\n\t\t\t\t\t<Index>3</"
                               "Index>\n\t\t\t\t\t<Name>C</Name>"));
    EXPECT_TRUE(saved.contains("<ActionSequence rep=\"3\">\n\t\t\t\t\t<Index>3</Index>"));
    EXPECT_TRUE(saved.contains(
        "<LinkedActionSequences>\n\t\t\t\t<ActionSequence>\n\t\t\t\t\t<Index>2</Index>\n\t\t\t\t\t<Name>B</Name>"));

    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLFile(file));
    const std::unique_ptr<TParameters> copy = reloaded.Clone();
    for (const TParameters* model : {&reloaded, copy.get()}) {
        EXPECT_EQ(RuleAt(*model, 0)->MainList(),
                  (QList<TBaseObject*> {SequenceAt(*model, 2), SequenceAt(*model, 0), SequenceAt(*model, 2)}));
        EXPECT_EQ(RuleAt(*model, 1)->MainList(), QList<TBaseObject*> {SequenceAt(*model, 1)});
        EXPECT_EQ(RuleAt(*model, 2)->MainList(), QList<TBaseObject*> {SequenceAt(*model, 2)});
    }
}

// A sequence that has left the list has no position to be stored by: its link
// is left out, and the trace says which rule lost it.
TEST_F(RulesFile, LinkToASequenceOutsideTheListIsTracedAndLeftOut)
{
    TParameters parameters;
    AddSample(parameters, QStringLiteral("A"));
    AddSample(parameters, QStringLiteral("B"));
    TActionSequence removed;
    removed.SetName(QStringLiteral("Gone"));
    RuleAt(parameters, 0)->SetMainList({&removed, SequenceAt(parameters, 1)});
    RuleAt(parameters, 1)->SetMainList({&removed});

    TraceCapture trace;
    const std::string text = SavedText(parameters);
    EXPECT_EQ(text.find("Gone"), std::string::npos);
    EXPECT_EQ(text.find("<Index>0</Index>"), std::string::npos);
    const QString title = QStringLiteral("Parameters::SaveRulesToXML:Linked action sequence not in the list, left out");
    EXPECT_EQ(trace.Count(title), 2);
    EXPECT_TRUE(trace.LastValue(title).contains(QStringLiteral("B"))) << trace.LastValue(title).toStdString();
    EXPECT_TRUE(trace.LastValue(title).contains(QStringLiteral("Gone"))) << trace.LastValue(title).toStdString();

    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLDoc(*parameters.SaveObjectsToXMLDoc()));
    EXPECT_EQ(RuleAt(reloaded, 0)->MainList(), QList<TBaseObject*> {SequenceAt(reloaded, 1)});
    EXPECT_EQ(RuleAt(reloaded, 1)->Count(), 0);
}

TEST(RulesNames, CopiesNeverTakeAnExistingName)
{
    const QString copy = QStringLiteral(" (Kopie)");
    struct Case
    {
        QStringList existing;
        QString name;
        QString expected;
    };
    const Case cases[] {
        {{QStringLiteral("B")}, QStringLiteral("A"), QStringLiteral("A")},
        {{QStringLiteral("a")}, QStringLiteral("A"), QStringLiteral("A") + copy},
        {{QStringLiteral("A"), QStringLiteral("A") + copy}, QStringLiteral("A"), QStringLiteral("A") + copy + copy},
        // The order that once let a copy take the name of the rule after it.
        {{QStringLiteral("A") + copy, QStringLiteral("A")}, QStringLiteral("A"), QStringLiteral("A") + copy + copy},
        {{QStringLiteral("A") + copy + copy, QStringLiteral("A") + copy, QStringLiteral("A")},
         QStringLiteral("A"),
         QStringLiteral("A") + copy + copy + copy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.existing.join(u'|').toStdString());
        TParameters parameters;
        for (const QString& name : c.existing)
            AddSample(parameters, name);
        EXPECT_EQ(parameters.GetNewRuleName(c.name), c.expected);
        EXPECT_EQ(parameters.GetNewActionSequenceName(c.name), c.expected);
    }
}

TEST_F(RulesFile, SavingIntoAMissingFolderFails)
{
    TParameters parameters;
    AddSample(parameters, QStringLiteral("A"));
    const QString folder = FilePath(QStringLiteral("missing"));
    EXPECT_FALSE(parameters.SaveObjectsToXMLFile(folder + QStringLiteral("/rules.xml")));
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// A save that breaks off (here: the file size limit, as on a full disk) must leave
// the previous file whole and no temporary file behind.
TEST_F(RulesFile, FailedSaveKeepsThePreviousFile)
{
    const QString file = FilePath(QStringLiteral("rules.xml"));
    TParameters small;
    AddSample(small, QStringLiteral("A"));
    ASSERT_TRUE(small.SaveObjectsToXMLFile(file));
    const QByteArray before = ReadFile(file);

    TParameters large;
    for (int i = 0; i < 200; ++i)
        AddSample(large, QStringLiteral("Rule %1").arg(i));

    rlimit previous {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = rlim_t(before.size()) * 2;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved = large.SaveObjectsToXMLFile(file);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(FolderEntries(), QStringList {QStringLiteral("rules.xml")});
}

// Support staff must see from the trace which file failed and why.
TEST_F(RulesFile, FailedSaveIsTracedWithTheFileAndTheCause)
{
    const QString readOnlyFolder = FilePath(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir().mkpath(readOnlyFolder));
    ASSERT_TRUE(QFile::setPermissions(readOnlyFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    struct Case
    {
        QString file;
        int cause;
    };
    const Case cases[] {
        {FilePath(QStringLiteral("missing/rules.xml")), ENOENT},
        {readOnlyFolder + QStringLiteral("/rules.xml"), EACCES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        TParameters parameters;
        AddSample(parameters, QStringLiteral("A"));
        TraceCapture trace;
        WithFilePermissionsEnforced([&] { EXPECT_FALSE(parameters.SaveObjectsToXMLFile(c.file)); });
        const QString entry = trace.LastValue(QStringLiteral("Parameters::SaveObjectsToXMLFile:Cannot write file"));
        EXPECT_TRUE(entry.startsWith(c.file)) << entry.toStdString();
        EXPECT_TRUE(entry.contains(QString::fromLocal8Bit(strerror(c.cause)))) << entry.toStdString();
    }
}

// A disk that fills up (here: the file size limit) while the file is written, in
// the last few bytes or in the middle of a long file: the previous file stays.
TEST_F(RulesFile, SaveThatBreaksOffIsTracedWithTheCause)
{
    const QString file = FilePath(QStringLiteral("rules.xml"));
    ASSERT_TRUE(TParameters().SaveObjectsToXMLFile(file));
    const QByteArray before = ReadFile(file);
    for (const int rules : {1, 300}) {
        SCOPED_TRACE(rules);
        TParameters parameters;
        for (int i = 0; i < rules; ++i)
            AddSample(parameters, QStringLiteral("Rule %1").arg(i));
        TraceCapture trace;
        rlimit previous {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous;
        limited.rlim_cur = 100;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool saved = parameters.SaveObjectsToXMLFile(file);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadFile(file), before);
        const QString entry = trace.LastValue(QStringLiteral("Parameters::SaveObjectsToXMLFile:Cannot write file"));
        EXPECT_TRUE(entry.startsWith(file + QStringLiteral(": "))) << entry.toStdString();
        EXPECT_TRUE(entry.contains(QString::fromLocal8Bit(strerror(EFBIG)))) << entry.toStdString();
    }
}

TEST_F(RulesFile, FileThatCannotBeReadIsTracedWithTheCause)
{
    const QString locked = FilePath(QStringLiteral("rules.xml"));
    {
        TParameters parameters;
        AddSample(parameters, QStringLiteral("A"));
        ASSERT_TRUE(parameters.SaveObjectsToXMLFile(locked));
    }
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    const QString truncated = TestDataFile(QStringLiteral("broken_truncated.xml"));
    const QString cannotRead = QStringLiteral("Parameters::LoadObjectsFromXMLFile:Cannot read file");
    struct Case
    {
        QString file;
        QString title;
        QString cause;
    };
    const Case cases[] {
        {locked, cannotRead, QString::fromLocal8Bit(strerror(EACCES))},
        {Folder(), cannotRead, QStringLiteral("not a regular file")},
        // The parser's own words and where it stopped.
        {truncated, QStringLiteral("Parameters::LoadObjectsFromXMLFile:Cannot read XML"), QStringLiteral("at offset")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        TraceCapture trace;
        TParameters parameters;
        WithFilePermissionsEnforced([&] { EXPECT_FALSE(parameters.LoadObjectsFromXMLFile(c.file)); });
        const QString entry = trace.LastValue(c.title);
        EXPECT_TRUE(entry.startsWith(c.file + QStringLiteral(": "))) << entry.toStdString();
        EXPECT_TRUE(entry.contains(c.cause)) << entry.toStdString();
        EXPECT_FALSE(entry.contains(QStringLiteral("not found"))) << entry.toStdString();
        EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::LoadObjectsFromXMLFile:File not loaded")), c.file);
    }
}

TEST_F(RulesFile, UnreadableFileIsKeptAsideBeforeTheNextSave)
{
    const QString file = FilePath(QStringLiteral("rules.xml"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(file, "<EventController><AllRules>half a file"));
    TParameters parameters;
    EXPECT_FALSE(parameters.LoadObjectsFromXMLFile(file));
    AddSample(parameters, QStringLiteral("A"));

    TraceCapture trace;
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(file));
    EXPECT_EQ(FolderEntries(), (QStringList {QStringLiteral("rules.xml"), QStringLiteral("unreadable")}));
    const QStringList entries = QDir(FilePath(QStringLiteral("unreadable"))).entryList(QDir::Files);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^rules\\.xml\\.unreadable-\\d{8}-\\d{6}$")).match(entries[0]).hasMatch())
        << entries[0].toStdString();
    const QString keptAs = FilePath(QStringLiteral("unreadable/") + entries[0]);
    EXPECT_EQ(ReadFile(keptAs), "<EventController><AllRules>half a file");
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::SaveObjectsToXMLFile:Unreadable file kept as")), keptAs);

    TParameters reloaded;
    EXPECT_TRUE(reloaded.LoadObjectsFromXMLFile(file));
    // Only the file that was found unreadable is moved, and only once.
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(file));
    EXPECT_EQ(QDir(FilePath(QStringLiteral("unreadable"))).entryList(QDir::Files).size(), 1);
}

TEST_F(RulesFile, BrokenFilesLoadAsFalseOrWithDefaults)
{
    struct Case
    {
        QString file;
        bool loaded;
        QStringList sequences;
        QStringList rules;
    };
    const QStringList kept {QStringLiteral("kept")};
    const Case cases[] {
        {QStringLiteral("broken_not_xml.xml"), false, kept, kept},
        {QStringLiteral("broken_truncated.xml"), false, kept, kept},
        {QStringLiteral("broken_nesting.xml"), false, kept, kept},
        {QStringLiteral("broken_empty.xml"), false, kept, kept},
        {QStringLiteral("broken_only_declaration.xml"), false, kept, kept},
        {QStringLiteral("broken_no_sequences.xml"), false, kept, kept},
        {QStringLiteral("broken_no_rules.xml"), false, {QStringLiteral("Read, although the rules are missing")}, kept},
        {QStringLiteral("broken_numbers.xml"),
         true,
         {QStringLiteral("absurd number, but the first one"), QStringLiteral("two"), QStringLiteral("three")},
         {QStringLiteral("r")}},
        {QStringLiteral("no such file.xml"), false, kept, kept},
        // A folder where the file should be.
        {QString(), false, kept, kept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        TParameters parameters;
        AddSample(parameters, QStringLiteral("kept"));
        const QString path = c.file.isEmpty() ? Folder() : TestDataFile(c.file);
        EXPECT_EQ(parameters.LoadObjectsFromXMLFile(path), c.loaded);
        EXPECT_EQ(Names(parameters.ActionSequences()), c.sequences);
        EXPECT_EQ(Names(parameters.Rules()), c.rules);
        // A rule kept from before never points at a sequence that was replaced.
        for (const TBaseObject* item : parameters.Rules().MainList()) {
            for (const TBaseObject* linked : qobject_cast<const TRule*>(item)->MainList())
                EXPECT_GE(parameters.ActionSequences().GetIndex(linked), 0);
        }
    }
}

TEST_F(RulesFile, OutOfRangeNumbersReadAsMinusOne)
{
    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(TestDataFile(QStringLiteral("broken_numbers.xml"))));
    const TActionSequence* two = SequenceAt(parameters, 1);
    EXPECT_EQ(two->IconIndex(), -1);
    EXPECT_EQ(SequenceAt(parameters, 2)->IconIndex(), -1);
    ASSERT_EQ(two->Count(), 3);
    EXPECT_EQ(qobject_cast<TActionBalloonMessage*>(two->Action(0))->TimeOutSec(), -1);
    EXPECT_EQ(qobject_cast<TActionStopper*>(two->Action(1))->BlockCount(), -1);
    EXPECT_EQ(qobject_cast<TActionStopper*>(two->Action(2))->BlockCount(), INT_MIN);
    EXPECT_EQ(RuleAt(parameters, 0)->Count(), 0);
}

TEST_F(RulesFile, DeepNestingLoadsWithoutExhaustingTheStack)
{
    const int levels = TParameters::MaxInnerActionDepth + 20;
    QByteArray inner;
    for (int i = 0; i < levels; ++i)
        inner += "<InnerBaseActions><AllBaseActions><BaseAction rep=\"1\"><BaseActionType>baSendEMail</BaseActionType>";
    for (int i = 0; i < levels; ++i)
        inner += "</BaseAction></AllBaseActions></InnerBaseActions>";
    const QByteArray deepValue = QByteArray("<x>").repeated(100000) + "deep" + QByteArray("</x>").repeated(100000);
    const QByteArray text = "<EventController><AllActionSequences><ActionSequence rep=\"1\"><Name>" + deepValue +
        "</Name><AllBaseActions><BaseAction rep=\"1\"><BaseActionType>baSendEMail</BaseActionType>" + inner +
        "</BaseAction></AllBaseActions></ActionSequence></AllActionSequences><AllRules/></EventController>";
    const QString file = FilePath(QStringLiteral("deep.xml"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(file, text));

    TParameters parameters;
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(file));
    EXPECT_EQ(SequenceAt(parameters, 0)->Name(), QStringLiteral("deep"));
    int depth = 0;
    for (auto* mail = qobject_cast<TActionSendEMail*>(SequenceAt(parameters, 0)->Action(0));
         !mail->InnerBaseActions().empty(); mail = mail->InnerBaseActions().front().get())
        ++depth;
    EXPECT_EQ(depth, TParameters::MaxInnerActionDepth);
}

TEST_F(RulesFile, DocumentLoadLeavesTheDocumentAsItWas)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(QFile::encodeName(TestDataFile(QStringLiteral("rules_mixed_case.xml"))).constData()));
    std::ostringstream before;
    doc.save(before);

    TParameters parameters;
    EXPECT_TRUE(parameters.LoadObjectsFromXMLDoc(doc));
    EXPECT_EQ(Names(parameters.Rules()), QStringList {QStringLiteral("Kunde")});
    std::ostringstream after;
    doc.save(after);
    EXPECT_EQ(after.str(), before.str());
    EXPECT_FALSE(parameters.LoadObjectsFromXMLDoc(pugi::xml_document()));
}

TEST_F(RulesFile, EmptyFileNameMeansTheRulesFileInTheDataFolder)
{
    EXPECT_TRUE(DataPathRulesFile().endsWith(QStringLiteral("/Kestrun/EventController for OrvixIt!/rules.xml")));
    EXPECT_TRUE(DataPathRulesFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    QFile::remove(DataPathRulesFile());
    TParameters parameters;
    AddSample(parameters, QStringLiteral("A"));
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(QString()));
    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLFile(QString()));
    EXPECT_EQ(Names(reloaded.Rules()), QStringList {QStringLiteral("A")});
    QFile::remove(DataPathRulesFile());
}

TEST_F(RulesFile, CleanTempFilesDeletesOnlyTemplateLeftovers)
{
    const QDir data(UserDataPath());
    const QStringList doomed {QStringLiteral("{0A1B}.HTMLTemplate.html"), QStringLiteral("{x}.htmltemplate.htm")};
    const QStringList kept {QStringLiteral("keep.HTMLTemplate.html"), QStringLiteral("{0A1B}.HTMLTemplate"),
                            QStringLiteral("usersettings.xml")};
    for (const QString& name : doomed + kept)
        ASSERT_NO_FATAL_FAILURE(WriteFile(data.filePath(name), "x"));
    TParameters().CleanTempFiles();
    for (const QString& name : doomed)
        EXPECT_FALSE(data.exists(name)) << name.toStdString();
    for (const QString& name : kept) {
        EXPECT_TRUE(data.exists(name)) << name.toStdString();
        QFile::remove(data.filePath(name));
    }
}

TEST(RulesClone, CopyHasNewObjectsWithTheSameDataAndSharesTheController)
{
    FakeLineManager softphone;
    TParameters parameters;
    parameters.InitLineManager(&softphone);
    AddSample(parameters, QStringLiteral("A"));
    auto* parameter = new TParameterUser;
    parameter->SetUserVariable(QStringLiteral("Kundennummer"));
    SequenceAt(parameters, 0)->Action(0)->AddNewItem(parameter);
    parameters.SetActive(false);

    std::unique_ptr<TParameters> copy = parameters.Clone();
    EXPECT_EQ(SavedText(*copy), SavedText(parameters));
    EXPECT_NE(SequenceAt(*copy, 0), SequenceAt(parameters, 0));
    EXPECT_EQ(SequenceAt(*copy, 0)->ID(), SequenceAt(parameters, 0)->ID());
    EXPECT_EQ(RuleAt(*copy, 0)->GetObject(0), SequenceAt(*copy, 0));
    EXPECT_EQ(copy->OrvixLine(), parameters.OrvixLine());
    EXPECT_FALSE(copy->Active());
    // The copy's objects see the variable names registered while it was read.
    const TBaseParameter* copied = SequenceAt(*copy, 0)->Action(0)->Parameter(0);
    EXPECT_NE(copied, parameter);
    EXPECT_TRUE(copied->OrvixLine()->TemporaryVariables().contains(QStringLiteral("Kundennummer")));

    // The controller outlives whichever model is dropped.
    TOrvixEventController* controller = parameters.OrvixEventController();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(copy->OrvixEventController(), controller);
    EXPECT_FALSE(controller->Active());
    copy->SetActive(true);
    EXPECT_TRUE(parameters.OrvixEventController()->Active());
    copy.reset();
    EXPECT_TRUE(parameters.OrvixEventController()->Active());
}

TEST(RulesTrace, LoadingAndSavingTraceEachStep)
{
    TraceCapture trace;
    TParameters parameters;
    const QString file = TestDataFile(QStringLiteral("rules_mixed_case.xml"));
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(file));
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::LoadActionSequencesFromXML:Load action sequences from XML")),
              file);
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::LoadActionSequencesFromXML:Action sequence:")),
              QStringLiteral("Popup"));
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::LoadActionSequencesFromXML:Action:")),
              QStringLiteral("Anrufer zeigen"));
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::LoadBaseAction:Parameter:")),
              QStringLiteral("Orvix-Parameter"));
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::LoadRulesFromXML:Load rules from XML")), file);
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::LoadRulesFromXML:Rule:")), QStringLiteral("Kunde"));

    const QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("rules.xml"));
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(target));
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::SaveActionSequencesToXML:Save action sequences to XML")),
              target);
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::SaveActionSequencesToXML:Action sequence:")),
              QStringLiteral("Popup"));
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::SaveRulesToXML:Save rules to XML")), target);
    EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::SaveRulesToXML:Rule:")), QStringLiteral("Kunde"));
}
