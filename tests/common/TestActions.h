#pragma once

#include "model/BaseAction.h"
#include "model/BaseParameter.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>

// An action that writes its caption into a log when it runs and reports the
// outcome the test chose.
class RecordingAction : public TBaseAction
{
public:
    RecordingAction(QString name, QStringList& log, bool succeeds = true)
        : m_log(log)
        , m_succeeds(succeeds)
    {
        SetCaption(std::move(name));
    }

    void ExecuteAction() override
    {
        TBaseAction::ExecuteAction();
        if (CancelAction())
            return;
        m_log.append(Caption());
        lines.append(OrvixLine().get());
        SetActionSuccessfull(m_succeeds);
    }

    QList<TOrvixLine*> lines;

private:
    QStringList& m_log;
    bool m_succeeds;
};

// A parameter whose result the test decides: a text, a cancel, or an error.
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

    QString GetParamResult() override
    {
        ++resolved;
        SetCancelAction(m_outcome == Cancel);
        if (m_outcome == Fail) {
            SetParameterResult(QStringLiteral("partial"));
            throw std::runtime_error("lookup failed");
        }
        return m_result;
    }

    int resolved = 0;

private:
    QString m_result;
    Outcome m_outcome;
};
