// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/BaseParameter.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

// A rule for external incoming calls that runs the sequence (not owned by the rule).
inline TRule* IncomingRule(const QString& name, TActionSequence* sequence)
{
    auto* rule = new TRule;
    rule->SetName(name);
    rule->SetCallOptionBase({cobIn});
    rule->SetCallOptionInEx({coExtern});
    rule->SetCallOptionIn({coiIncomingCall});
    rule->AddNewItem(sequence);
    return rule;
}

// An action that writes its caption into a log when it runs, keeps what each
// run resolved and reports the outcome the test chose.
class RecordingAction : public TBaseAction
{
public:
    RecordingAction(QString name, QStringList& log, bool succeeds = true)
        : m_log(log)
        , m_succeeds(succeeds)
    {
        SetCaption(std::move(name));
    }

    void ExecuteAction(TActionContext& context) override
    {
        TBaseAction::ExecuteAction(context);
        results.append(context.ParamResultList());
        cancelled.append(context.CancelAction());
        if (!context.CancelAction()) {
            m_log.append(Caption());
            lines.append(context.Line());
            context.SetActionSuccessfull(m_succeeds);
        }
        if (onRunEnded)
            onRunEnded();
    }

    // The parameters one run resolved, in order.
    QList<const TBaseParameter*> Parameters(qsizetype run = 0) const
    {
        QList<const TBaseParameter*> parameters;
        for (const TParamResult& result : results.value(run))
            parameters.append(result.Parameter);
        return parameters;
    }
    // The texts one run resolved, in order.
    QStringList Texts(qsizetype run = 0) const
    {
        QStringList texts;
        for (const TParamResult& result : results.value(run))
            texts.append(result.Result);
        return texts;
    }

    // The snapshots the runs worked on, kept alive for the test.
    QList<std::shared_ptr<TOrvixLine>> lines;
    QList<QList<TParamResult>> results;
    QList<bool> cancelled;
    // Called at the end of each run.
    std::function<void()> onRunEnded;

private:
    QStringList& m_log;
    bool m_succeeds;
};

// A parameter whose result the test decides: a text, a cancel, or an error; it
// may run something first (another call's rules, while it "waits").
class ScriptedParameter : public TBaseParameter
{
public:
    enum Outcome
    {
        Text,
        Cancel,
        Fail
    };

    explicit ScriptedParameter(QString result, Outcome outcome = Text)
        : m_result(std::move(result))
        , m_outcome(outcome)
    {
        SetCaption(QStringLiteral("Scripted"));
    }

    QString GetParamResult(TActionContext& context) override
    {
        ++resolved;
        if (whileWaiting)
            std::exchange(whileWaiting, {})();
        if (m_outcome == Cancel)
            context.SetCancelAction(true);
        if (m_outcome == Fail)
            throw std::runtime_error("lookup failed");
        return m_result;
    }

    int resolved = 0;
    // Runs once, inside the next resolution.
    std::function<void()> whileWaiting;

private:
    QString m_result;
    Outcome m_outcome;
};

// A sequence of the action under test (and what the test puts after it),
// followed by an action that records whether the sequence went on, run on a
// call snapshot of its own.
struct SequenceRun
{
    explicit SequenceRun(TBaseAction* action, TBaseObject* next = nullptr)
    {
        sequence.AddNewItem(action);
        if (next)
            sequence.AddNewItem(next);
        sequence.AddNewItem(after);
    }

    void Run() { sequence.ExecuteActions(line); }

    QStringList log;
    TActionSequence sequence;
    RecordingAction* after = new RecordingAction(QStringLiteral("after"), log);
    std::shared_ptr<TOrvixLine> line = std::make_shared<TOrvixLine>();
};
