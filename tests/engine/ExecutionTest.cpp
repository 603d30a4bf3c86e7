// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "parameters/ParameterOrvix.h"

#include <gtest/gtest.h>

namespace {

TActionStopper* Stopper(bool onSuccess, bool all, int count)
{
    auto* stopper = new TActionStopper;
    stopper->SetBlockOnSuccess(onSuccess);
    stopper->SetBlockAllActions(all);
    stopper->SetBlockCount(count);
    return stopper;
}

class ExecutionTest : public ::testing::Test
{
protected:
    RecordingAction* Action(const QString& name, bool succeeds = true)
    {
        return new RecordingAction(name, log, succeeds);
    }

    void Run(std::initializer_list<TBaseObject*> items)
    {
        for (TBaseObject* item : items)
            sequence.AddNewItem(item);
        sequence.ExecuteActions(line);
    }

    TraceCapture trace;
    QStringList log;
    TActionSequence sequence;
    std::shared_ptr<TOrvixLine> line = std::make_shared<TOrvixLine>();
};

} // namespace

TEST_F(ExecutionTest, StopperSkipsTheNextItems)
{
    Run({Action("A"), Stopper(true, false, 2), Action("B"), Action("C"), Action("D")});
    EXPECT_EQ(log, (QStringList {"A", "D"}));
    EXPECT_EQ(trace.Count("ActionSequence::ExecuteActions:Skipping actions"), 2);
    EXPECT_TRUE(trace.Has("ActionSequence::ExecuteActions:Skip 2 actions"));
}

TEST_F(ExecutionTest, StopperEndsTheSequence)
{
    Run({Action("A"), Stopper(true, true, 1), Action("B"), Action("C")});
    EXPECT_EQ(log, QStringList {"A"});
    EXPECT_TRUE(trace.Has("ActionSequence::ExecuteActions:Stop all actions"));
}

TEST_F(ExecutionTest, LeadingStopperSeesAFailedOutcome)
{
    Run({Stopper(false, false, 1), Action("A"), Action("B")});
    EXPECT_EQ(log, QStringList {"B"});

    log.clear();
    TActionSequence other;
    other.AddNewItem(Stopper(true, false, 1));
    other.AddNewItem(Action("A"));
    other.ExecuteActions(line);
    EXPECT_EQ(log, QStringList {"A"});
}

TEST_F(ExecutionTest, SkippedStopperIsNotEvaluated)
{
    Run({Action("A"), Stopper(true, false, 1), Stopper(true, true, 1), Action("B")});
    EXPECT_EQ(log, (QStringList {"A", "B"}));
}

TEST_F(ExecutionTest, FailedActionTriggersAStopperForFailures)
{
    Run({Action("A", false), Stopper(false, true, 1), Action("B")});
    EXPECT_EQ(log, QStringList {"A"});
}

TEST_F(ExecutionTest, CancellingParameterEndsTheSequenceButNotTheRule)
{
    auto* first = new ScriptedParameter("one");
    auto* cancelling = new ScriptedParameter("two", ScriptedParameter::Cancel);
    auto* third = new ScriptedParameter("three");
    RecordingAction* asking = Action("asking");
    asking->AddNewItem(first);
    asking->AddNewItem(cancelling);
    asking->AddNewItem(third);
    sequence.AddNewItem(asking);
    sequence.AddNewItem(Action("after"));

    TActionSequence next;
    next.AddNewItem(Action("next sequence"));
    TRule rule;
    rule.AddNewItem(&sequence);
    rule.AddNewItem(&next);
    rule.ExecuteRule(line);
    rule.ClearList();

    EXPECT_EQ(log, QStringList {"next sequence"});
    EXPECT_EQ(asking->cancelled, QList<bool> {true});
    EXPECT_EQ(asking->Parameters(), QList<const TBaseParameter*> {first});
    EXPECT_EQ(third->resolved, 0);
    EXPECT_TRUE(trace.Has("BaseAction::ExecuteAction:Action cancelled"));
}

TEST_F(ExecutionTest, FailingParameterIsTracedAndTheActionGoesOn)
{
    auto* failing = new ScriptedParameter("never", ScriptedParameter::Fail);
    auto* second = new ScriptedParameter("two");
    RecordingAction* action = Action("A");
    action->AddNewItem(failing);
    action->AddNewItem(second);
    Run({action});
    EXPECT_EQ(log, QStringList {"A"});
    EXPECT_TRUE(trace.Has("BaseAction::ExecuteAction"));
    EXPECT_EQ(action->Parameters(), (QList<const TBaseParameter*> {failing, second}));
    EXPECT_EQ(action->Texts(), (QStringList {QString(), "two"}));
}

TEST_F(ExecutionTest, ResultsAreTakenAsTheParametersGiveThem)
{
    // A caller can send any text: the engine must not expand references in it.
    qputenv("KESTRUN_TEST_SECRET", "geheim");
    RecordingAction* action = Action("A");
    action->AddNewItem(new ScriptedParameter("%KESTRUN_TEST_SECRET%|%HOME%"));
    Run({action});
    qunsetenv("KESTRUN_TEST_SECRET");
    EXPECT_EQ(action->Texts(), QStringList {"%KESTRUN_TEST_SECRET%|%HOME%"});
}

// While one run waits (a question window, a directory lookup), a call on another
// line runs the same rule; each run must go on with its own caller's data.
TEST_F(ExecutionTest, RunsOfTheSameRuleInterleaveWithTheirOwnSnapshots)
{
    auto* before = new TParameterOrvix;
    before->SetParameterValue("orvixCallerName");
    auto* waiting = new ScriptedParameter("");
    auto* after = new TParameterOrvix;
    after->SetParameterValue("orvixCallerName");
    auto* saving = new TParameterOrvix;
    saving->SetParameterValue("orvixCallerName");
    saving->SetSaveAsUserVariable(true);
    saving->SetUserVariable("Custom1");
    RecordingAction* action = Action("A");
    for (TBaseParameter* parameter : std::initializer_list<TBaseParameter*> {before, waiting, after, saving})
        action->AddNewItem(parameter);
    sequence.AddNewItem(action);
    TRule rule;
    rule.AddNewItem(&sequence);

    auto anna = std::make_shared<TOrvixLine>();
    anna->SetCallerName("Anna");
    auto bernd = std::make_shared<TOrvixLine>();
    bernd->SetCallerName("Bernd");
    waiting->whileWaiting = [&] { rule.ExecuteRule(bernd); };
    rule.ExecuteRule(anna);
    rule.ClearList();

    ASSERT_EQ(action->results.size(), 2);
    EXPECT_EQ(action->Texts(0), (QStringList {"Bernd", "", "Bernd", "Bernd"})) << "the run that waited on nothing";
    EXPECT_EQ(action->Texts(1), (QStringList {"Anna", "", "Anna", "Anna"})) << "the run that waited";
    EXPECT_EQ(action->lines, (QList<std::shared_ptr<TOrvixLine>> {bernd, anna}));
    EXPECT_EQ(anna->GetUserVariableResult("Custom1"), QStringLiteral("Anna"));
    EXPECT_EQ(bernd->GetUserVariableResult("Custom1"), QStringLiteral("Bernd"));
}

TEST_F(ExecutionTest, ParameterSavesItsResultIntoTheSnapshot)
{
    auto* saving = new ScriptedParameter("Anna");
    saving->SetSaveAsUserVariable(true);
    saving->SetUserVariable("Custom1");
    RecordingAction* action = Action("A");
    action->AddNewItem(saving);
    Run({action});
    EXPECT_EQ(line->GetUserVariableResult("Custom1"), QStringLiteral("Anna"));
    EXPECT_EQ(action->lines, QList<std::shared_ptr<TOrvixLine>> {line}) << "the action works on the sequence's line";
}

TEST_F(ExecutionTest, RuleWithoutSequencesOnlyTracesItsHeader)
{
    TRule rule;
    rule.SetName("leer");
    rule.ExecuteRule(line);
    EXPECT_EQ(trace.Titles(),
              (QStringList {"Rule::ExecuteRule:Executing rule", "Rule::ExecuteRule:Numbers of sequences",
                            "Rule::ExecuteRule:OrvixLine"}));
}
