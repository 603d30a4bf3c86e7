// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"

#include <memory>

class TClientLineMgr;

/**
 * @brief The common part of the actions that act on the call itself (take,
 * end, DTMF): whether they can run is decided from the live state of the
 * snapshot's line, asked anew each time.
 *
 * The snapshot's own line-manager connection is used when it has one (a
 * notification window gave it one); otherwise a connection is made for the
 * question, so that a rule that only answers calls works without a window.
 * In the rule test every call-control action can run and does nothing.
 */
class TActionOrvixCallControl : public TBaseAction
{
    Q_OBJECT

public:
    // Runs the parameters, then acts on the call if it can. A line-manager
    // refusal (the call ended between the check and the act) is traced and
    // fails the action; the sequence goes on.
    void ExecuteAction(TActionContext& context) final;

protected:
    // unit names the trace titles ("ActionOrvixTakeCall"); cannotExecute is the
    // warning written when the call is not in a state to act on.
    TActionOrvixCallControl(QString unit, QString cannotExecute);

    bool CanExecuteProvider(const TOrvixLine& line) const final;

    // Whether the call of the snapshot is now in a state to act on; may throw.
    virtual bool CanExecuteOnLine(const TOrvixLine& snapshot, TClientLineMgr& lineMgr) const = 0;
    // Acts on the call once it can; line-manager errors propagate.
    virtual void ActOnCall(TActionContext& context, TClientLineMgr& lineMgr) = 0;

    // Trace title "<unit>::<function>:<text>".
    QString Title(QStringView function, QStringView text = {}) const;

private:
    static std::shared_ptr<TClientLineMgr> LineConnection(const TOrvixLine& snapshot);

    QString m_unit;
    QString m_cannotExecute;
};
