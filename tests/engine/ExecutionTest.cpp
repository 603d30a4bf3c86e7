#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"

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
        sequence.SetOrvixLine(line);
        sequence.ExecuteActions();
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
    other.ExecuteActions();
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
    rule.SetOrvixLine(line);
    rule.ExecuteRule();
    rule.ClearList();

    EXPECT_EQ(log, QStringList {"next sequence"});
    EXPECT_TRUE(asking->CancelAction());
    EXPECT_EQ(asking->ParamResultList(), QList<TBaseParameter*> {first});
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
    EXPECT_EQ(failing->ParameterResult(), QStringLiteral("partial"));
    EXPECT_EQ(action->ParamResultList(), (QList<TBaseParameter*> {failing, second}));
}

TEST_F(ExecutionTest, ResultsExpandEnvironmentReferences)
{
    qputenv("KESTRUN_TEST_USER", "jdoe");
    struct Case
    {
        QString result;
        QString expanded;
    };
    const Case cases[] = {
        {"%KESTRUN_TEST_USER%", "jdoe"},
        {"Hallo %KESTRUN_TEST_USER%!", "Hallo jdoe!"},
        {"no percent signs", "no percent signs"},
        {"%KESTRUN_NOT_SET_ANYWHERE%", "%KESTRUN_NOT_SET_ANYWHERE%"},
        {"100% sure %KESTRUN_TEST_USER%", "100% sure jdoe"},
        {"%%KESTRUN_TEST_USER%%", "%jdoe%"},
        {"50%", "50%"},
    };
    RecordingAction* action = Action("A");
    QList<ScriptedParameter*> parameters;
    for (const Case& c : cases) {
        parameters.append(new ScriptedParameter(c.result));
        action->AddNewItem(parameters.last());
    }
    Run({action});
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(parameters[i]->ParameterResult(), cases[i].expanded) << cases[i].result.toStdString();
    qunsetenv("KESTRUN_TEST_USER");
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
    EXPECT_EQ(action->lines, QList<TOrvixLine*> {line.get()}) << "the action works on the sequence's line";
}

TEST_F(ExecutionTest, RuleWithoutSequencesOnlyTracesItsHeader)
{
    TRule rule;
    rule.SetName("leer");
    rule.ExecuteRule();
    EXPECT_EQ(trace.Titles(),
              (QStringList {"Rule::ExecuteRule:Executing rule", "Rule::ExecuteRule:Numbers of sequences",
                            "Rule::ExecuteRule:OrvixLine"}));
}
