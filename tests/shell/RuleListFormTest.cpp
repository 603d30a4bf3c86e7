// SPDX-License-Identifier: GPL-3.0-or-later

// The rule list of the main window: what it shows and enables, and how each
// command changes the model in force and the rules file.
#include "shell/RuleListForm.h"

#include "FakeLineManager.h"
#include "FakeUserInterface.h"
#include "ModalDriver.h"
#include "SettingsSandbox.h"
#include "TestActions.h"
#include "TestFiles.h"
#include "TraceCapture.h"
#include "actions/ActionOrvixDTMF.h"
#include "editors/ActionSequencesForm.h"
#include "editors/NameForm.h"
#include "editors/RuleAssistentForm.h"
#include "editors/RulesChoiceForm.h"
#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "parameters/ParameterInteraction.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "shell/RuleDescription.h"
#include "widgets/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

#include <sstream>

namespace {

class RuleListTest : public ::testing::Test
{
protected:
    ~RuleListTest() override { TMessageBox::ClearAnswers(); }

    // Puts a model with one sequence and these incoming rules in force, as saved in the rules file.
    void UseRules(const QStringList& names)
    {
        auto model = std::make_shared<TParameters>();
        auto* sequence = new TActionSequence;
        sequence->SetName(QStringLiteral("Popup"));
        model->ActionSequences().AddNewItem(sequence);
        for (const QString& name : names)
            model->Rules().AddNewItem(IncomingRule(name, sequence));
        ASSERT_TRUE(model->SaveObjectsToXMLFile(QString()));
        m_program.SetModel(model);
        m_form.ReloadRuleList();
    }

    QStringList FileRuleNames() const
    {
        TParameters saved;
        EXPECT_TRUE(saved.LoadObjectsFromXMLFile(QString()));
        QStringList names;
        for (const TBaseObject* rule : saved.Rules().MainList())
            names << static_cast<const TRule*>(rule)->Name();
        return names;
    }

    QStringList ListedNames() const
    {
        QStringList names;
        for (int i = 0; i < List().count(); ++i)
            names << List().item(i)->text();
        return names;
    }

    QListWidget& List() const { return *m_form.findChild<QListWidget*>(QStringLiteral("checkListBox_Rules")); }
    QAbstractButton& Button(const char* name) const
    {
        return *m_form.findChild<QAbstractButton*>(QString::fromLatin1(name));
    }
    // The names of the enabled buttons, in the window's order.
    QStringList EnabledButtons() const
    {
        QStringList names;
        for (const char* name :
             {"button_New", "button_Edit", "button_Copy", "button_Delete", "button_Rename", "button_Import",
              "button_Export", "button_Test", "button_ActionsSequences", "button_Hide", "button_Up", "button_Down"}) {
            if (Button(name).isEnabled())
                names << QString::fromLatin1(name);
        }
        return names;
    }

    SettingsSandbox m_settings;
    FakeLineManager m_softphone;
    TProgram m_program {&m_softphone};
    TRuleListForm m_form {m_program};
};

std::unique_ptr<TRule> IncomingRuleWith(TCallOptionInExSet inEx, TCallOptionInSet in, TCallOptionInNumberSet numbers)
{
    auto rule = std::make_unique<TRule>();
    rule->SetCallOptionBase({cobIn});
    rule->SetCallOptionInEx(inEx);
    rule->SetCallOptionIn(in);
    rule->SetCallOptionInNumber(numbers);
    rule->SetFromNumberIn(QStringLiteral("030*"));
    rule->SetToExtensionNumberIn(QStringLiteral("21"));
    return rule;
}

} // namespace

TEST(RuleDescription, SaysWhatTheRuleReactsToLineByLine)
{
    TActionSequence popup;
    popup.SetName(QStringLiteral("Popup"));

    const auto both = IncomingRuleWith({coIntern, coExtern}, {coiAll}, {});
    both->AddNewItem(&popup);
    EXPECT_EQ(RuleDescription(*both),
              QStringLiteral("Diese Regel wird bei eingehenden\r\n"
                             "   internen und externen Rufen \r\n"
                             "in der Situation:\r\n"
                             "   [Klingeln] \r\n"
                             "   [Rufannahme] \r\n"
                             "   [Rufende] \r\n"
                             "unter der Bedingung:\r\n"
                             "ausgeführt und started die Aktionsfolge\r\n"
                             "   Popup"));

    const auto numbers = IncomingRuleWith({coExtern}, {coiCallPickUp}, {coinAll});
    EXPECT_EQ(RuleDescription(*numbers),
              QStringLiteral("Diese Regel wird bei eingehenden\r\n"
                             "   externen Rufen \r\n"
                             "in der Situation:\r\n"
                             "   [Rufannahme] \r\n"
                             "unter der Bedingung:\r\n"
                             "   Ruf von Rufnummer: [030*] \r\n"
                             "   Ruf an Durchwahl: [21] \r\n"
                             "ausgeführt"));

    // The later kind replaces the earlier: incoming and outgoing reads as outgoing.
    const auto inAndOut = IncomingRuleWith({}, {coiAll}, {});
    inAndOut->SetCallOptionBase({cobIn, cobOut});
    inAndOut->SetCallOptionOut({cooRemoteBusy, cooTerminated});
    inAndOut->SetCallOptionOutNumber({coonToNumber});
    inAndOut->SetToNumberOut(QStringLiteral("0800*"));
    EXPECT_EQ(RuleDescription(*inAndOut),
              QStringLiteral("Diese Regel wird bei ausgehenden\r\n"
                             "in der Situation:\r\n"
                             "   [Gegenstelle besetzt] \r\n"
                             "   [Rufende] \r\n"
                             "unter der Bedingung:\r\n"
                             "   Ruf an Rufnummer: [0800*] \r\n"
                             "ausgeführt"));

    TRule notification;
    notification.SetCallOptionBase({cobNotification});
    notification.SetCallOptionNotificationNumber({cosAll});
    notification.SetNotificationNumberIn(QStringLiteral("0301"));
    notification.SetNotificationNumberTo(QStringLiteral("22"));
    EXPECT_EQ(RuleDescription(notification),
              QStringLiteral("Die Regel wird bei signalisierten Rufen\r\n"
                             "  von Rufnummer: [0301]   an Nebenstelle: [22] \r\n"
                             "ausgeführt"));

    TRule start;
    start.SetCallOptionBase({cobApplicationStart});
    // A sequence without a name is not mentioned.
    TActionSequence unnamed;
    start.AddNewItem(&unnamed);
    EXPECT_EQ(RuleDescription(start), QStringLiteral("Diese Regel wird bei Programmstart ausgeführt"));
    EXPECT_EQ(RuleDescription(TRule()), QString());
}

TEST_F(RuleListTest, AnEmptyModelOffersOnlyWhatNeedsNoRule)
{
    UseRules({});
    EXPECT_EQ(EnabledButtons(),
              (QStringList {"button_New", "button_Import", "button_ActionsSequences", "button_Hide"}));
    EXPECT_TRUE(m_form.findChild<QTextEdit*>(QStringLiteral("RulesDescriptionBox"))->toPlainText().isEmpty());
    m_form.button_EditClick();
    EXPECT_EQ(m_form.ActiveRule(), nullptr);
}

TEST_F(RuleListTest, FirstRuleIsSelectedAndTheArrowsFollowThePosition)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    ASSERT_NE(m_form.ActiveRule(), nullptr);
    EXPECT_EQ(m_form.ActiveRule()->Name(), QStringLiteral("Kunde"));
    EXPECT_FALSE(Button("button_Up").isEnabled());
    EXPECT_TRUE(Button("button_Down").isEnabled());
    EXPECT_TRUE(m_form.findChild<QTextEdit*>(QStringLiteral("RulesDescriptionBox"))
                    ->toPlainText()
                    .startsWith(QStringLiteral("Diese Regel wird bei eingehenden")));
}

TEST_F(RuleListTest, MovingARuleChangesTheOrderInTheModelAndTheFileAtOnce)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant"), QStringLiteral("Privat")});
    List().setCurrentRow(1);
    Button("button_Up").click();
    EXPECT_EQ(ListedNames(), (QStringList {"Lieferant", "Kunde", "Privat"}));
    EXPECT_EQ(FileRuleNames(), ListedNames());
    EXPECT_EQ(m_form.ActiveRule()->Name(), QStringLiteral("Lieferant"));
    EXPECT_FALSE(Button("button_Up").isEnabled());

    List().setCurrentRow(1);
    Button("button_Down").click();
    EXPECT_EQ(FileRuleNames(), (QStringList {"Lieferant", "Privat", "Kunde"}));
    EXPECT_EQ(m_program.Model()->Rules().Item<TRule>(2)->Name(), QStringLiteral("Kunde"));
    EXPECT_FALSE(Button("button_Down").isEnabled());
}

TEST_F(RuleListTest, CheckMarksTakeEffectAndAreSavedAtOnce)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    List().item(1)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(m_program.Model()->Rules().Item<TRule>(1)->Active());
    EXPECT_EQ(m_form.ActiveRule()->Name(), QStringLiteral("Lieferant"));
    TParameters saved;
    ASSERT_TRUE(saved.LoadObjectsFromXMLFile(QString()));
    EXPECT_TRUE(saved.Rules().Item<TRule>(0)->Active());
    EXPECT_FALSE(saved.Rules().Item<TRule>(1)->Active());
}

TEST_F(RuleListTest, CopyGetsAUniqueNameAndStartsSwitchedOffAtTheEnd)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Kunde (Kopie)")});
    Button("button_Copy").click();
    EXPECT_EQ(ListedNames(), (QStringList {"Kunde", "Kunde (Kopie)", "Kunde (Kopie) (Kopie)"}));
    EXPECT_EQ(FileRuleNames(), ListedNames());
    const TRule* copy = m_form.ActiveRule();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name(), QStringLiteral("Kunde (Kopie) (Kopie)"));
    EXPECT_FALSE(copy->Active());
    EXPECT_EQ(List().item(2)->checkState(), Qt::Unchecked);
    const TRule* original = m_program.Model()->Rules().Item<TRule>(0);
    EXPECT_NE(copy->ID(), original->ID());
    // The copy runs the same sequence, not a duplicate of it.
    EXPECT_EQ(copy->GetObject(0), original->GetObject(0));
}

TEST_F(RuleListTest, DeleteAsksAndNoLeavesTheFileAsItWas)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    const QByteArray before = ReadFile(DataPathRulesFile());
    List().setCurrentRow(1);
    TMessageBox::SetNextAnswer(QMessageBox::No);
    Button("button_Delete").click();
    EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
    EXPECT_EQ(ListedNames(), (QStringList {"Kunde", "Lieferant"}));
    EXPECT_EQ(ReadFile(DataPathRulesFile()), before);
}

TEST_F(RuleListTest, DeletedRuleStaysValidForWhoeverStillRunsIt)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    // A rule run keeps the model it started with.
    const std::shared_ptr<TParameters> running = m_program.Model();
    const TRule* runningRule = running->Rules().Item<TRule>(1);
    List().setCurrentRow(1);
    TMessageBox::SetNextAnswer(QMessageBox::Yes);
    Button("button_Delete").click();
    EXPECT_EQ(ListedNames(), QStringList {"Kunde"});
    EXPECT_EQ(FileRuleNames(), QStringList {"Kunde"});
    EXPECT_EQ(m_form.ActiveRule()->Name(), QStringLiteral("Kunde"));
    EXPECT_NE(m_program.Model(), running);
    // Still there and whole (under ASan a freed rule would fail here).
    EXPECT_EQ(runningRule->Name(), QStringLiteral("Lieferant"));
    EXPECT_EQ(runningRule->GetObject(0), running->ActionSequences().GetObject(0));
}

TEST_F(RuleListTest, RenameTakesTheNameAsEnteredAndCancelKeepsTheOldOne)
{
    UseRules({QStringLiteral("Kunde")});
    const QByteArray before = ReadFile(DataPathRulesFile());
    const auto rename = [this](const QString& typed, bool confirm) {
        return DriveModal<TRuleNameForm>(
            [&](TRuleNameForm& form) {
                EXPECT_EQ(form.windowTitle(), QStringLiteral("Name der Regel"));
                auto& edit = *form.findChild<QLineEdit*>(QStringLiteral("edit_Name"));
                auto& ok = *form.findChild<QPushButton*>(QStringLiteral("button_OK"));
                EXPECT_EQ(edit.text(), QStringLiteral("Kunde"));
                edit.setText(typed);
                if (confirm)
                    ok.click();
            },
            [this] { Button("button_Rename").click(); });
    };
    ASSERT_TRUE(rename(QStringLiteral("Stammkunde"), false));
    EXPECT_EQ(ListedNames(), QStringList {"Kunde"});
    EXPECT_EQ(ReadFile(DataPathRulesFile()), before);

    ASSERT_TRUE(rename(QStringLiteral("  Stammkunde "), true));
    EXPECT_EQ(ListedNames(), QStringList {"  Stammkunde "});
    EXPECT_EQ(FileRuleNames(), QStringList {"  Stammkunde "});
}

TEST(NameForm, OkOnlyForMoreThanBlanksAndAtMost150Characters)
{
    TRuleNameForm form(QStringLiteral("   "));
    auto& edit = *form.findChild<QLineEdit*>(QStringLiteral("edit_Name"));
    auto& ok = *form.findChild<QPushButton*>(QStringLiteral("button_OK"));
    EXPECT_FALSE(ok.isEnabled());
    edit.setText(QStringLiteral(" x"));
    EXPECT_TRUE(ok.isEnabled());
    edit.setText(QString(200, u'a'));
    EXPECT_EQ(form.Name().size(), 150);
    TActionSequencesNameForm sequence {QString()};
    EXPECT_EQ(sequence.windowTitle(), QStringLiteral("Name der Aktionsfolge"));
    EXPECT_FALSE(sequence.findChild<QPushButton*>(QStringLiteral("button_OK"))->isEnabled());
}

TEST_F(RuleListTest, EditingARuleAndCancellingLeavesModelAndFileAsTheyWere)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    const QByteArray before = ReadFile(DataPathRulesFile());
    const std::shared_ptr<TParameters> model = m_program.Model();
    List().setCurrentRow(1);
    const bool shown = DriveModal<TRuleAssistentForm>(
        [](TRuleAssistentForm& wizard) {
            // The wizard edits its working copy; the user then drops it.
            wizard.ActiveRule()->SetName(QStringLiteral("geändert"));
            TMessageBox::SetNextAnswer(QMessageBox::Yes);
            wizard.reject();
        },
        [this] { Button("button_Edit").click(); });
    ASSERT_TRUE(shown);
    EXPECT_EQ(m_program.Model(), model);
    EXPECT_EQ(ListedNames(), (QStringList {"Kunde", "Lieferant"}));
    EXPECT_EQ(ReadFile(DataPathRulesFile()), before);
    EXPECT_EQ(m_form.ActiveRule()->Name(), QStringLiteral("Lieferant"));
}

// "Aktionsfolge..." edits a working copy: cancel leaves model and file as they
// were, OK puts the copy in force and saves it with the same rule selected.
TEST_F(RuleListTest, SequenceEditorChangesModelAndFileOnlyOnOk)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    List().setCurrentRow(1);
    const QByteArray before = ReadFile(DataPathRulesFile());
    const std::shared_ptr<TParameters> model = m_program.Model();
    for (const bool ok : {false, true}) {
        const bool shown = DriveModal<TActionSequencesForm>(
            [ok](TActionSequencesForm& editor) {
                ASSERT_NE(editor.ActiveActionSequence(), nullptr);
                editor.ActiveActionSequence()->SetIconIndex(7);
                ok ? editor.accept() : editor.reject();
            },
            [this] { Button("button_ActionsSequences").click(); });
        ASSERT_TRUE(shown);
        if (!ok) {
            EXPECT_EQ(m_program.Model(), model);
            EXPECT_EQ(ReadFile(DataPathRulesFile()), before);
        }
    }
    EXPECT_NE(m_program.Model(), model);
    TParameters saved;
    ASSERT_TRUE(saved.LoadObjectsFromXMLFile(QString()));
    EXPECT_EQ(saved.ActionSequences().Item<TActionSequence>(0)->IconIndex(), 7);
    EXPECT_EQ(m_form.ActiveRule()->Name(), QStringLiteral("Lieferant"));
    EXPECT_EQ(ListedNames(), (QStringList {"Kunde", "Lieferant"}));
}

// A call while the editor is open runs the rules in force, never the
// half-edited working copy.
TEST_F(RuleListTest, CallDuringTheSequenceEditorRunsTheSavedSequence)
{
    UseRules({QStringLiteral("Kunde")});
    // Discovery asks this address first; nothing listens there.
    m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                             "VelquistServer=127.0.0.1:1\n");
    m_program.Start();
    m_form.ReloadRuleList();
    m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    TraceCapture trace;
    const QString ran = QStringLiteral("ActionSequence::ExecuteActions:Execute action sequence");
    const bool shown = DriveModal<TActionSequencesForm>(
        [&](TActionSequencesForm& editor) {
            editor.ActiveActionSequence()->SetName(QStringLiteral("halb fertig"));
            m_softphone.ChangeState(0, LSRinging);
            FakeLineManager::Deliver();
            editor.reject();
        },
        [this] { Button("button_ActionsSequences").click(); });
    ASSERT_TRUE(shown);
    EXPECT_EQ(trace.Count(ran), 1);
    EXPECT_EQ(trace.LastValue(ran), QStringLiteral("Popup"));
}

// A rule whose run waits (here for the user's answer) is moved down, copied, renamed
// and switched off meanwhile: the run goes on with the list it started with, so each
// rule runs once, and the list and the file show every change.
TEST_F(RuleListTest, ChangingTheListWhileARuleWaitsRunsEachRuleOnce)
{
    auto model = std::make_shared<TParameters>();
    for (const QString& name : {QStringLiteral("Kunde"), QStringLiteral("Lieferant")}) {
        auto* question = new TParameterInteraction;
        question->SetQuery(name);
        auto* action = new TActionOrvixDTMF;
        action->AddNewItem(question);
        auto* sequence = new TActionSequence;
        sequence->SetName(name);
        sequence->AddNewItem(action);
        model->ActionSequences().AddNewItem(sequence);
        model->Rules().AddNewItem(IncomingRule(name, sequence));
    }
    ASSERT_TRUE(model->SaveObjectsToXMLFile(QString()));
    m_program.SetModel(model);
    m_form.ReloadRuleList();

    class Window : public TParameterInteractionForm
    {
    public:
        Window(QStringList& asked, std::function<void()> whileOpen)
            : m_asked(asked)
            , m_whileOpen(std::move(whileOpen))
        {
        }
        bool ShowModal() override
        {
            m_asked.append(FInteractionParam->Query());
            if (m_asked.size() == 1)
                m_whileOpen();
            FAnswer = QStringLiteral("ja");
            return true;
        }

    private:
        QStringList& m_asked;
        std::function<void()> m_whileOpen;
    };
    QStringList asked;
    FakeUserInterface ui([&] {
        return std::make_unique<Window>(asked, [this] {
            List().setCurrentRow(0);
            Button("button_Down").click();
            Button("button_Copy").click();
            List().setCurrentRow(0);
            EXPECT_TRUE(DriveModal<TRuleNameForm>(
                [](TRuleNameForm& form) {
                    form.findChild<QLineEdit*>(QStringLiteral("edit_Name"))->setText(QStringLiteral("Großkunde"));
                    form.findChild<QPushButton*>(QStringLiteral("button_OK"))->click();
                },
                [this] { Button("button_Rename").click(); }));
            List().item(0)->setCheckState(Qt::Unchecked);
        });
    });
    auto line = std::make_shared<TOrvixLine>();
    line->SetCallId(5);
    line->SetIsOutgoingCall(0);
    line->SetIsInternalCall(0);
    line->SetCallerNumber(QStringLiteral("+49301234"));
    RunRules(*model, *line, QStringLiteral("LSRinging"));

    EXPECT_EQ(asked, (QStringList {"Kunde", "Lieferant"}));
    EXPECT_EQ(ListedNames(), (QStringList {"Großkunde", "Kunde", "Kunde (Kopie)"}));
    EXPECT_EQ(FileRuleNames(), ListedNames());
    EXPECT_FALSE(m_program.Model()->Rules().Item<TRule>(0)->Active());
    EXPECT_EQ(model->Rules().Item<TRule>(0)->Name(), QStringLiteral("Kunde")) << "the running list was changed";
    EXPECT_TRUE(model->Rules().Item<TRule>(1)->Active());
}

namespace {

// A file of two rules: "Kunde" (switched off) and "Lieferant", each with its own sequence.
QString WriteExchangeFileOfTwo(const QString& folder)
{
    TParameters model;
    for (const char* name : {"Kunde", "Lieferant"}) {
        auto* sequence = new TActionSequence;
        sequence->SetName(QStringLiteral("Popup ") + QString::fromUtf8(name));
        model.ActionSequences().AddNewItem(sequence);
        model.Rules().AddNewItem(IncomingRule(QString::fromUtf8(name), sequence));
    }
    model.Rules().Item<TRule>(0)->SetActive(false);
    const QString path = folder + QStringLiteral("/austausch.xml");
    EXPECT_TRUE(model.SaveObjectsToXMLFile(path));
    return path;
}

QStringList Names(const TBaseList& list)
{
    QStringList names;
    for (const TBaseObject* item : list.MainList())
        names << qobject_cast<const TBaseList*>(item)->Name();
    return names;
}

std::string SavedText(const TParameters& model)
{
    std::ostringstream text;
    model.SaveObjectsToXMLDoc()->save(text);
    return text.str();
}

QStringList CheckedEntries(const QListWidget& list)
{
    QStringList checked;
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->checkState() == Qt::Checked)
            checked << list.item(i)->text();
    }
    return checked;
}

} // namespace

// The chooser lists the file's rules with the active ones ticked; what the user
// leaves ticked is appended under names that do not clash, shown, selected and
// saved at once. Cancelling changes and writes nothing.
TEST_F(RuleListTest, ImportAppendsTheTickedRulesOfAFileAndSavesThem)
{
    struct Case
    {
        const char* step;
        QStringList listed;
    };
    const Case cases[] {
        {"as offered", {"Kunde", "Lieferant"}},
        {"all", {"Kunde", "Kunde (Kopie)", "Lieferant"}},
        {"cancel", {"Kunde"}},
    };
    const QString path = WriteExchangeFileOfTwo(QFileInfo(DataPathRulesFile()).absolutePath());
    m_form.SetImportFileChooser([&] { return path; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        UseRules({QStringLiteral("Kunde")});
        const QByteArray before = ReadFile(DataPathRulesFile());
        const std::string step = c.step;
        ASSERT_TRUE(DriveModal<TImportRulesForm>(
            [&](TImportRulesForm& form) {
                EXPECT_EQ(form.windowTitle(), QStringLiteral("Regeln importieren"));
                auto& list = *form.findChild<QListWidget*>(QStringLiteral("checkListBox_Rules"));
                auto& import = *form.findChild<QPushButton*>(QStringLiteral("button_Import"));
                EXPECT_EQ(CheckedEntries(list), QStringList {"Lieferant"});
                EXPECT_EQ(list.currentRow(), 0);
                form.findChild<QPushButton*>(QStringLiteral("button_DeselectAll"))->click();
                EXPECT_FALSE(import.isEnabled()) << "nothing ticked, nothing to import";
                list.item(1)->setCheckState(Qt::Checked);
                EXPECT_TRUE(import.isEnabled());
                if (step == "all")
                    form.findChild<QPushButton*>(QStringLiteral("button_SelectAll"))->click();
                if (step != "cancel")
                    QTest::mouseClick(&import, Qt::LeftButton);
            },
            [this] { Button("button_Import").click(); }));
        EXPECT_EQ(ListedNames(), c.listed);
        if (step == "cancel") {
            EXPECT_EQ(ReadFile(DataPathRulesFile()), before);
            continue;
        }
        EXPECT_EQ(FileRuleNames(), ListedNames());
        EXPECT_EQ(m_form.ActiveRule(), m_program.Model()->Rules().Item<TRule>(1)) << "the first imported is selected";
        const QStringList sequences = Names(m_program.Model()->ActionSequences());
        EXPECT_EQ(sequences.size(), c.listed.size());
        EXPECT_EQ(m_program.Model()->Rules().Item<TRule>(1)->GetObject(0),
                  m_program.Model()->ActionSequences().GetObject(1));
    }
}

// A file that cannot be imported is said so; the rules and their file stay as they were.
TEST_F(RuleListTest, ImportOfAFileThatIsNoRulesFileWarnsAndChangesNothing)
{
    UseRules({QStringLiteral("Kunde")});
    const QByteArray before = ReadFile(DataPathRulesFile());
    const std::shared_ptr<TParameters> inForce = m_program.Model();
    for (const QString& path :
         {TestDataFile(QStringLiteral("broken_truncated.xml")), TestDataFile(QStringLiteral("broken_no_rules.xml")),
          QStringLiteral("/nonexistent.xml")}) {
        SCOPED_TRACE(path.toStdString());
        m_form.SetImportFileChooser([&] { return path; });
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        Button("button_Import").click();
        EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
        EXPECT_EQ(m_program.Model(), inForce);
        EXPECT_EQ(ReadFile(DataPathRulesFile()), before);
    }
    // Cancelling the file chooser writes nothing either.
    m_form.SetImportFileChooser([] { return QString(); });
    Button("button_Import").click();
    EXPECT_EQ(m_program.Model(), inForce);
}

// The export offers the rules in force and writes the ticked ones; a file that
// cannot be written is said so.
TEST_F(RuleListTest, ExportWritesTheTickedRulesInForceAndSaysWhenItCannot)
{
    UseRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    List().item(0)->setCheckState(Qt::Unchecked);
    const std::string before = SavedText(*m_program.Model());
    const QString folder = QFileInfo(DataPathRulesFile()).absolutePath();
    QString target = folder + QStringLiteral("/export.xml");
    m_form.SetExportFileChooser([&] { return target; });
    const auto exportTicked = [this] {
        return DriveModal<TExportRulesForm>(
            [](TExportRulesForm& form) {
                EXPECT_EQ(form.windowTitle(), QStringLiteral("Regeln exportieren"));
                auto& list = *form.findChild<QListWidget*>(QStringLiteral("checkListBox_Rules"));
                EXPECT_EQ(CheckedEntries(list), QStringList {"Lieferant"}) << "the check mark in force counts";
                form.findChild<QPushButton*>(QStringLiteral("button_Export"))->click();
            },
            [this] { Button("button_Export").click(); });
    };
    ASSERT_TRUE(exportTicked());
    TParameters exported;
    ASSERT_TRUE(exported.LoadObjectsFromXMLFile(target));
    EXPECT_EQ(Names(exported.Rules()), QStringList {"Lieferant"});
    EXPECT_EQ(Names(exported.ActionSequences()), QStringList {"Popup"});
    EXPECT_EQ(SavedText(*m_program.Model()), before);

    target = folder + QStringLiteral("/missing/export.xml");
    TMessageBox::SetNextAnswer(QMessageBox::Ok);
    ASSERT_TRUE(exportTicked());
    EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
    EXPECT_FALSE(QFileInfo::exists(target));
}

// A wizard's working copy is put in force as a whole when it closes: an import or a
// blocked number that came in meanwhile would be dropped by it, so both are refused
// with a message that says why, and work again once the wizard is closed.
TEST_F(RuleListTest, ChangesFromOutsideWaitUntilTheWizardIsClosed)
{
    UseRules({QStringLiteral("Kunde")});
    const QString path = WriteExchangeFileOfTwo(QFileInfo(DataPathRulesFile()).absolutePath());
    List().setCurrentRow(0);
    const bool shown = DriveModal<TRuleAssistentForm>(
        [&](TRuleAssistentForm& wizard) {
            for (const auto& change : std::initializer_list<std::function<void()>> {
                     [&] { m_program.ImportRules(path, {}); }, [&] { m_program.BlockNumber(QStringLiteral("030123")); },
                     [&] { m_program.ReloadRules(); }}) {
                try {
                    change();
                    ADD_FAILURE() << "a change from outside was taken while the wizard was open";
                } catch (const EKestrunError& error) {
                    EXPECT_TRUE(error.Message().contains(u"solange die Regeln bearbeitet werden"));
                }
            }
            TMessageBox::SetNextAnswer(QMessageBox::Yes);
            wizard.reject();
        },
        [this] { Button("button_Edit").click(); });
    ASSERT_TRUE(shown);
    EXPECT_EQ(m_program.ImportRules(path, {}).size(), 2);
    EXPECT_EQ(m_program.Model()->Rules().Count(), 3);
}
