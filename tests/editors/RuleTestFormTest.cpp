// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"
#include "Notices.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionOrvixEndCall.h"
#include "editors/RuleTestForm.h"
#include "engine/RulesRun.h"
#include "model/OrvixLine.h"
#include "rulesfile/Parameters.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/OrvixEvent.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// A model with one sequence, run by the rule under test, that records what ran.
class RuleTest : public ::testing::Test
{
protected:
    RuleTest()
    {
        sequence->SetName(QStringLiteral("Anzeige"));
        sequence->AddNewItem(action);
        model->ActionSequences().AddNewItem(sequence);
        model->Rules().AddNewItem(rule);
    }

    // Opens the test of the rule, types the values into their fields and clicks "Testen".
    void RunTest(const QMap<QString, QString>& values)
    {
        TRuleTestForm form(model, rule->ID());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Test der Regel: Kunde"));
        form.show();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            form.findChild<QLineEdit*>(it.key())->setText(it.value());
        form.findChild<QPushButton*>(QStringLiteral("button_Test"))->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }

    std::shared_ptr<TParameters> model = std::make_shared<TParameters>();
    QStringList log;
    RecordingAction* action = new RecordingAction(QStringLiteral("Anzeigen"), log);
    TActionSequence* sequence = new TActionSequence;
    TRule* rule = IncomingRule(QStringLiteral("Kunde"), sequence);
};

} // namespace

TEST_F(RuleTest, RunsTheRuleOnTheTypedInCallInTestMode)
{
    RunTest({{QStringLiteral("CallerNumber"), QStringLiteral("+49301111")},
             {QStringLiteral("CallerName"), QStringLiteral("Anna Berg")}});
    ASSERT_EQ(log, QStringList {QStringLiteral("Anzeigen")});
    const TOrvixLine& line = *action->lines.at(0);
    EXPECT_TRUE(line.IsTestMode());
    EXPECT_EQ(line.CallerNumber(), QStringLiteral("+49301111"));
    EXPECT_EQ(line.CallerName(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(line.IncomingExtension(), QStringLiteral("100")) << "the sample value";
    ASSERT_NE(line.ClientLineMgr(), nullptr);
    EXPECT_FALSE(line.ClientLineMgr()->IsConnected());
    EXPECT_NE(rule->OrvixLine(), action->lines.at(0)) << "the model's rule never holds the test's line";
}

// The test shows what the rule does, whatever its conditions say about the typed-in call.
TEST_F(RuleTest, ConditionsAreNotTested)
{
    rule->SetActive(false);
    rule->SetCallOptionBase({cobOut});
    rule->SetCallOptionOutNumber({coonToNumber});
    rule->SetToNumberOut(QStringLiteral("0800*"));
    RunTest({{QStringLiteral("CalledNumber"), QStringLiteral("+49301111")}});
    EXPECT_EQ(log, QStringList {QStringLiteral("Anzeigen")});
}

TEST_F(RuleTest, CallControlIsNotDoneAndTheSequenceGoesOn)
{
    TraceCapture trace;
    sequence->ExchangeItem(action, new TActionOrvixEndCall, false);
    sequence->AddNewItem(action);
    RunTest({});
    EXPECT_EQ(log, QStringList {QStringLiteral("Anzeigen")});
    EXPECT_TRUE(trace.Has(QStringLiteral("ActionOrvixEndCall::ExecuteAction:test mode: not executed")))
        << trace.Titles().join(u'\n').toStdString();
}

// A window the test opened keeps the line for as long as it shows it.
TEST_F(RuleTest, TheLineLivesAsLongAsSomethingHoldsIt)
{
    RunTest({});
    ASSERT_EQ(action->lines.size(), 1);
    const std::weak_ptr<TOrvixLine> line = action->lines.at(0);
    EXPECT_FALSE(line.expired());
    action->lines.clear();
    EXPECT_TRUE(line.expired());
}

// A real call that fires the same rule while the test waits runs with its own
// snapshot; the test goes on with the typed-in call.
TEST_F(RuleTest, RealCallDuringTheTestDoesNotReachIt)
{
    FakeLineManager softphone;
    softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Echter Anrufer"));
    TOrvixEventController controller(&softphone);
    controller.SetRuleRunner([this](TOrvixLine& line, const QString& state) { RunRules(*model, line, state); });
    auto* waiting = new ScriptedParameter(QStringLiteral("x"));
    waiting->whileWaiting = [&softphone] {
        softphone.ChangeState(0, LSRinging);
        FakeLineManager::Deliver();
    };
    action->AddNewItem(waiting);
    auto* second = new RecordingAction(QStringLiteral("Danach"), log);
    sequence->AddNewItem(second);

    RunTest({{QStringLiteral("CallerName"), QStringLiteral("Test")}});

    ASSERT_EQ(log,
              (QStringList {QStringLiteral("Anzeigen"), QStringLiteral("Danach"), QStringLiteral("Anzeigen"),
                            QStringLiteral("Danach")}));
    for (const RecordingAction* recorded : {action, second}) {
        SCOPED_TRACE(recorded->Caption().toStdString());
        EXPECT_FALSE(recorded->lines.at(0)->IsTestMode());
        EXPECT_EQ(recorded->lines.at(0)->CallerName(), QStringLiteral("Echter Anrufer"));
        EXPECT_TRUE(recorded->lines.at(1)->IsTestMode());
        EXPECT_EQ(recorded->lines.at(1)->CallerName(), QStringLiteral("Test"));
    }
}

// "Testen" closes the dialog: the user is told what the test did, unless the
// rule's own windows show it.
TEST_F(RuleTest, TheUserIsToldWhatFailedOrThatNothingRan)
{
    RunTest({});
    EXPECT_EQ(TakeNotices(), QStringList()) << "everything went well";

    sequence->AddNewItem(new RecordingAction(QStringLiteral("Notiz speichern"), log, false));
    RunTest({});
    EXPECT_EQ(TakeNotices(),
              QStringList {QStringLiteral("Der Test der Regel: Nicht gelungen ist „Notiz "
                                          "speichern“.\n\nEinzelheiten stehen im Protokoll.")});

    rule->RemoveItem(sequence);
    RunTest({});
    const QStringList nothing = TakeNotices();
    ASSERT_EQ(nothing.size(), 1);
    EXPECT_TRUE(
        nothing.at(0).startsWith(QStringLiteral("Der Test der Regel ist beendet; sie hat keine Aktion ausgeführt.")));
}

TEST_F(RuleTest, CloseRunsNothing)
{
    TRuleTestForm form(model, rule->ID());
    form.show();
    form.findChild<QPushButton*>(QStringLiteral("button_Close"))->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(log.isEmpty());
}
