// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <utility>

class TBaseParameter;
class TOrvixLine;

// A parameter's text as one run of its action resolved it.
struct TParamResult
{
    const TBaseParameter* Parameter = nullptr;
    QString Result;
};

/**
 * @brief One run of one action: the call snapshot it works on, the parameters
 * resolved so far, whether a parameter cancelled it and how it ended.
 *
 * The run carries it down the call chain; nothing of it is kept in the rule
 * objects, which every run shares. While one run waits (in a question window,
 * for a directory lookup), a call on another line may run the same rule, and
 * each run must go on with its own caller's data.
 */
class TActionContext
{
public:
    explicit TActionContext(std::shared_ptr<TOrvixLine> line)
        : m_line(std::move(line))
    {
    }

    // The call snapshot; null only when the rule runs without one.
    const std::shared_ptr<TOrvixLine>& Line() const { return m_line; }

    // Set by a parameter that stops the action; ends the sequence.
    bool CancelAction() const { return m_cancelAction; }
    void SetCancelAction(bool cancel) { m_cancelAction = cancel; }
    // The outcome, read by the stoppers that follow in the sequence.
    bool ActionSuccessfull() const { return m_actionSuccessfull; }
    void SetActionSuccessfull(bool successful) { m_actionSuccessfull = successful; }
    // Set by an action that did nothing at all: the stoppers after it go by the
    // outcome of the action before.
    bool KeepsPreviousOutcome() const { return m_keepsPreviousOutcome; }
    void KeepPreviousOutcome() { m_keepsPreviousOutcome = true; }

    // The parameters resolved so far, in order.
    const QList<TParamResult>& ParamResultList() const { return m_paramResultList; }
    void AddParamResult(const TBaseParameter* parameter, const QString& result)
    {
        m_paramResultList.append({parameter, result});
    }

private:
    std::shared_ptr<TOrvixLine> m_line;
    bool m_cancelAction = false;
    bool m_actionSuccessfull = true;
    bool m_keepsPreviousOutcome = false;
    QList<TParamResult> m_paramResultList;
};
