// Running rules, sequences and actions: the engine part of the model classes.

#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/BaseParameter.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "platform/Environment.h"
#include "trace/Trace.h"

void TRule::ExecuteRule()
{
    Trace::Value("Rule::ExecuteRule:Executing rule", Name());
    Trace::Value("Rule::ExecuteRule:Numbers of sequences", Count());
    Trace::Object("Rule::ExecuteRule:OrvixLine", OrvixLine().get());
    // A copy: a sequence's action may change the rule list while it runs (an editor adopted in a dialog).
    const QList<TBaseObject*> sequences = MainList();
    for (TBaseObject* item : sequences) {
        auto* sequence = qobject_cast<TActionSequence*>(item);
        if (!sequence)
            continue;
        Trace::Object("Rule::ExecuteRule:Checking action sequence", sequence);
        sequence->SetOrvixLine(OrvixLine());
        sequence->ExecuteActions();
    }
}

void TActionSequence::ExecuteActions()
{
    Trace::Value("ActionSequence::ExecuteActions:Execute action sequence", Name());
    Trace::Value("ActionSequence::ExecuteActions:Numbers of actions", Count());
    Trace::Object("ActionSequence::ExecuteActions:OrvixLine", OrvixLine().get());

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
                return;
            }
            continueCounter = stopper->BlockCount();
            Trace::Message(QStringLiteral("ActionSequence::ExecuteActions:Skip ") +
                           QString::number(stopper->BlockCount()) + QStringLiteral(" actions"));
            continue;
        }
        auto* action = qobject_cast<TBaseAction*>(item);
        if (!action)
            continue;
        action->SetOrvixLine(OrvixLine());
        action->ExecuteAction();
        if (action->CancelAction())
            return;
        actionSuccessfull = action->ActionSuccessfull();
        Trace::Value("ActionSequence::ExecuteActions:Action succcessfull", actionSuccessfull);
    }
}

void TBaseAction::ExecuteAction()
{
    Trace::Value("BaseAction::ExecuteAction:Action name", Caption());
    Trace::Value("BaseAction::ExecuteAction:Numbers of parameters", Count());
    Trace::Object("BaseAction::ExecuteAction:OrvixLine", OrvixLine().get());

    SetActionSuccessfull(true);
    SetCancelAction(false);
    m_paramResultList.clear();
    const QList<TBaseObject*> items = MainList();
    for (TBaseObject* item : items) {
        auto* parameter = qobject_cast<TBaseParameter*>(item);
        if (!parameter)
            continue;
        Trace::Object("BaseAction::ExecuteAction:Checking parameter", parameter);
        Trace::Value("BaseAction::ExecuteAction:Resolve parameter", parameter->Caption());
        parameter->SetOrvixLine(OrvixLine());
        // One parameter's failure is traced and leaves its result as far as it got;
        // the action goes on with the others.
        try {
            parameter->SetParameterResult(parameter->GetParamResult());
            parameter->SetParameterResult(ExpandEnvironmentReferences(parameter->ParameterResult()));
            Trace::Value("BaseAction::ExecuteAction:Result", parameter->ParameterResult());
        } catch (const std::exception& error) {
            Trace::Exception("BaseAction::ExecuteAction", error);
        }
        if (parameter->CancelAction()) {
            Trace::Object("BaseAction::ExecuteAction:Action cancelled", parameter);
            SetCancelAction(true);
            return;
        }
        if (parameter->SaveAsUserVariable()) {
            Trace::Value("BaseAction::ExecuteAction:Saving to variable", parameter->UserVariable());
            if (const auto line = OrvixLine())
                line->SetUserVariable(parameter->UserVariable(), parameter->ParameterResult());
        }
        Trace::Object("BaseAction::ExecuteAction:Adding result to result list", parameter);
        m_paramResultList.append(parameter);
    }
}
