// SPDX-License-Identifier: GPL-3.0-or-later

// Running rules, sequences and actions: the engine part of the model classes.

#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/BaseParameter.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "trace/Trace.h"

TRunOutcome TRule::ExecuteRule(const std::shared_ptr<TOrvixLine>& line)
{
    TRunOutcome outcome;
    Trace::Value("Rule::ExecuteRule:Executing rule", Name());
    Trace::Value("Rule::ExecuteRule:Numbers of sequences", Count());
    Trace::Object("Rule::ExecuteRule:OrvixLine", line.get());
    // A copy: a sequence's action may change the rule list while it runs (an editor adopted in a dialog).
    const QList<TBaseObject*> sequences = MainList();
    for (TBaseObject* item : sequences) {
        auto* sequence = qobject_cast<TActionSequence*>(item);
        if (!sequence)
            continue;
        Trace::Object("Rule::ExecuteRule:Checking action sequence", sequence);
        outcome += sequence->ExecuteActions(line);
    }
    return outcome;
}

TRunOutcome TActionSequence::ExecuteActions(const std::shared_ptr<TOrvixLine>& line)
{
    TRunOutcome outcome;
    Trace::Value("ActionSequence::ExecuteActions:Execute action sequence", Name());
    Trace::Value("ActionSequence::ExecuteActions:Numbers of actions", Count());
    Trace::Object("ActionSequence::ExecuteActions:OrvixLine", line.get());

    int continueCounter = 0;
    // Before any action ran the outcome counts as failed, so a leading stopper
    // that reacts to failure fires.
    bool actionSuccessfull = false;
    const QList<TBaseObject*> items = MainList();
    for (TBaseObject* item : items) {
        Trace::Object("ActionSequence::ExecuteActions:Checking action", item);
        if (continueCounter > 0) {
            Trace::Value("ActionSequence::ExecuteActions:Skipping actions", continueCounter);
            --continueCounter;
            continue;
        }
        if (auto* stopper = qobject_cast<TActionStopper*>(item)) {
            Trace::Message("ActionSequence::ExecuteActions:Stopper found, check execution");
            if (stopper->BlockOnSuccess() != actionSuccessfull)
                continue;
            if (stopper->BlockAllActions()) {
                Trace::Message("ActionSequence::ExecuteActions:Stop all actions");
                return outcome;
            }
            continueCounter = stopper->BlockCount();
            Trace::Message(QStringLiteral("ActionSequence::ExecuteActions:Skip ") +
                           QString::number(stopper->BlockCount()) + QStringLiteral(" actions"));
            continue;
        }
        auto* action = qobject_cast<TBaseAction*>(item);
        if (!action)
            continue;
        TActionContext context(line);
        ++outcome.ActionsRun;
        action->ExecuteAction(context);
        // A cancel is the user's choice (a question not answered), not a failure.
        if (context.CancelAction())
            return outcome;
        if (!context.KeepsPreviousOutcome() && !context.ActionSuccessfull())
            outcome.FailedActions << action->Caption();
        if (!context.KeepsPreviousOutcome())
            actionSuccessfull = context.ActionSuccessfull();
        Trace::Value("ActionSequence::ExecuteActions:Action succcessfull", actionSuccessfull);
    }
    return outcome;
}

void TBaseAction::ExecuteAction(TActionContext& context)
{
    Trace::Value("BaseAction::ExecuteAction:Action name", Caption());
    Trace::Value("BaseAction::ExecuteAction:Numbers of parameters", Count());
    Trace::Object("BaseAction::ExecuteAction:OrvixLine", context.Line().get());

    const QList<TBaseObject*> items = MainList();
    for (TBaseObject* item : items) {
        auto* parameter = qobject_cast<TBaseParameter*>(item);
        if (!parameter)
            continue;
        Trace::Object("BaseAction::ExecuteAction:Checking parameter", parameter);
        Trace::Value("BaseAction::ExecuteAction:Resolve parameter", parameter->Caption());
        // One parameter's failure is traced and leaves its result empty; the
        // action goes on with the others.
        QString result;
        try {
            result = parameter->GetParamResult(context);
            Trace::Value("BaseAction::ExecuteAction:Result", result);
        } catch (const std::exception& error) {
            Trace::Exception("BaseAction::ExecuteAction", error);
        }
        if (context.CancelAction()) {
            Trace::Object("BaseAction::ExecuteAction:Action cancelled", parameter);
            return;
        }
        if (parameter->SaveAsUserVariable()) {
            Trace::Value("BaseAction::ExecuteAction:Saving to variable", parameter->UserVariable());
            if (context.Line())
                context.Line()->SetUserVariable(parameter->UserVariable(), result);
        }
        Trace::Object("BaseAction::ExecuteAction:Adding result to result list", parameter);
        context.AddParamResult(parameter, result);
    }
}
