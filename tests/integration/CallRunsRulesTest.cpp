// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLineManager.h"
#include "TestActions.h"
#include "TraceCapture.h"

#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionStopper.h"
#include "engine/RulesRun.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "parameters/ParameterUser.h"
#include "rulesfile/Parameters.h"
#include "telephony/OrvixEvent.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TActionOrvixDTMF* Action(const QString& caption)
{
    auto* action = new TActionOrvixDTMF;
    action->SetCaption(caption);
    return action;
}

TParameterUser* UserParameter(const QString& value, bool isVariable)
{
    auto* parameter = new TParameterUser;
    parameter->SetParameterValue(value);
    parameter->SetIsVariable(isVariable);
    return parameter;
}

// The rules file of the test: an incoming-call rule whose sequence stores a fixed
// text in Custom1, reads it back in a second action, then a stopper skips one
// action; a second rule reads Custom1 on its own snapshot.
void WriteRulesFile(const QString& path)
{
    TParameters model;
    auto* sequence = new TActionSequence;
    sequence->SetName("Anruf von Anna");
    TActionOrvixDTMF* store = Action("Speichern");
    TParameterUser* fixed = UserParameter("Anna Berg", false);
    fixed->SetSaveAsUserVariable(true);
    fixed->SetUserVariable("Custom1");
    store->AddNewItem(fixed);
    TActionOrvixDTMF* read = Action("Lesen");
    read->AddNewItem(UserParameter("Custom1", true));
    auto* stopper = new TActionStopper;
    sequence->AddNewItem(store);
    sequence->AddNewItem(read);
    sequence->AddNewItem(stopper);
    sequence->AddNewItem(Action("Übersprungen"));
    sequence->AddNewItem(Action("Danach"));
    model.ActionSequences().AddNewItem(sequence);

    auto* other = new TActionSequence;
    other->SetName("Zweite Regel");
    TActionOrvixDTMF* readAgain = Action("Nochmal lesen");
    readAgain->AddNewItem(UserParameter("Custom1", true));
    other->AddNewItem(readAgain);
    model.ActionSequences().AddNewItem(other);

    model.Rules().AddNewItem(IncomingRule("Kunde", sequence));
    model.Rules().AddNewItem(IncomingRule("Protokoll", other));
    ASSERT_TRUE(model.SaveObjectsToXMLFile(path));
}

QStringList ValuesOf(const std::vector<TraceEntry>& entries, const QString& title)
{
    QStringList values;
    for (const TraceEntry& entry : entries) {
        if (entry.title == title)
            values.append(entry.value);
    }
    return values;
}

} // namespace

TEST(CallRunsRules, RulesFromTheFileRunOnTheirOwnSnapshots)
{
    QTemporaryDir folder;
    const QString rulesFile = folder.filePath("rules.xml");
    WriteRulesFile(rulesFile);

    auto model = std::make_shared<TParameters>();
    ASSERT_TRUE(model->LoadObjectsFromXMLFile(rulesFile));
    FakeLineManager softphone;
    softphone.lines[0] = {
        {"DispState", int(LSRinging)}, {"DispCallId", 5},         {"DispPeerNumber", "0301234"},
        {"DispPeerName", "Anna Berg"}, {"DispIsOutgoingCall", 0}, {"m_bIsInternalCall", 0},
    };
    TOrvixEventController controller(&softphone);
    controller.SetRuleRunner([model](TOrvixLine& line, const QString& state) { RunRules(*model, line, state); });

    auto sink = std::make_shared<MemoryTraceSink>();
    TraceCapture trace;
    Trace::AddSink(sink);
    softphone.ChangeState(0, LSRinging);
    FakeLineManager::Deliver();
    Trace::RemoveSink(sink);

    const std::vector<TraceEntry> entries = sink->Entries();
    EXPECT_EQ(ValuesOf(entries, "Rule::ExecuteRule:Executing rule"), (QStringList {"Kunde", "Protokoll"}));
    EXPECT_EQ(ValuesOf(entries, "BaseAction::ExecuteAction:Action name"),
              (QStringList {"Speichern", "Lesen", "Danach", "Nochmal lesen"}))
        << "the stopper skips one action after a success";
    EXPECT_EQ(ValuesOf(entries, "BaseAction::ExecuteAction:Saving to variable"), QStringList {"Custom1"});
    EXPECT_EQ(ValuesOf(entries, "BaseAction::ExecuteAction:Result"), (QStringList {"Anna Berg", "Anna Berg", ""}))
        << "the second action reads Custom1; the second rule has a snapshot of its own without it";
    EXPECT_EQ(ValuesOf(entries, "ActionSequence::ExecuteActions:Skipping actions"), QStringList {"1"});

    // Both rules ran on snapshots, not on the registry's line object.
    const auto line = controller.RegisteredLine(0);
    EXPECT_EQ(line->GetUserVariableResult("Custom1"), QString());
    const QStringList snapshots = ValuesOf(entries, "Rule::ExecuteRule:OrvixLine");
    ASSERT_EQ(snapshots.size(), 2);
    for (const QString& snapshot : snapshots)
        EXPECT_TRUE(snapshot.contains(u"+49301234")) << snapshot.toStdString();
    // The runs leave the shared rule objects as they were loaded.
    EXPECT_EQ(model->Rules().Item<TRule>(0)->OrvixLine(), model->OrvixLine());
    EXPECT_EQ(model->Rules().Item<TRule>(1)->OrvixLine(), model->OrvixLine());
}
