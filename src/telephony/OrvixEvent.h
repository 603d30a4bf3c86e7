// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/OrvixLine.h"
#include "model/Property.h"

#include <QMetaObject>

#include <map>
#include <memory>

class LineManagerService;
class TClientLine;
class TClientLineMgr;

/**
 * @brief Where the softphone's line notifications enter the program.
 *
 * Owns the connection to the line manager and a registry of one line object per
 * line index; turns each notification into an update of that line object, which
 * then runs the rules. A registry entry lives for one call on its line: once the
 * line object has cleared its line manager, the next notification for the line
 * gets a new one. A call whose end never came (the softphone went away or came
 * back, or the line reports another call id) is ended without running rules. Each
 * state is checked against the call its line object belongs to: a state of another
 * call starts a new line object, also while the old one still runs the rules of its
 * own queued states, which it then finishes. Line objects are shared: the registry, a
 * running notification further up the call stack and the snapshots keep them alive as needed.
 */
class TOrvixEventController
{
public:
    // Connects at once, with automatic connection: a softphone that starts later,
    // or comes back, is picked up.
    explicit TOrvixEventController(LineManagerService* service = nullptr);
    ~TOrvixEventController();
    TOrvixEventController(const TOrvixEventController&) = delete;
    TOrvixEventController& operator=(const TOrvixEventController&) = delete;

    // False makes the controller ignore every notification (they are not replayed later).
    KESTRUN_FIELD(bool, Active, true)

    const std::shared_ptr<TClientLineMgr>& ClientLineMgr() const { return m_clientLineMgr; }
    // Given to every line object the controller makes; without one, states are
    // recorded but no rules run.
    void SetRuleRunner(TOrvixLine::TRuleRunner ruleRunner) { m_ruleRunner = std::move(ruleRunner); }
    // Given to every line object of the registry: told when the line's call is over.
    void SetCallEndObserver(TOrvixLine::TCallEndObserver observer) { m_callEndObserver = std::move(observer); }

    void ClientLineMgrNotification(TClientLineMgr* sender, int eventMsg, int eventParam);

    // The registered line object of a line index, or null.
    std::shared_ptr<TOrvixLine> RegisteredLine(int lineIndex) const;

private:
    // reported: where the line as the softphone reports it is kept when it had to be read.
    std::shared_ptr<TOrvixLine> CreateOrGetLine(int key, std::unique_ptr<TClientLine>& reported);
    // Whether the softphone reports another call on the line than the line object holds.
    bool HoldsAnotherCall(const TOrvixLine& line, std::unique_ptr<TClientLine>& reported) const;
    void EndRegisteredLines(bool lineManagerAvailable);

    std::shared_ptr<TClientLineMgr> m_clientLineMgr;
    std::map<int, std::shared_ptr<TOrvixLine>> m_orvixLineList;
    TOrvixLine::TRuleRunner m_ruleRunner;
    TOrvixLine::TCallEndObserver m_callEndObserver;
    QMetaObject::Connection m_availabilityConnection;
};
