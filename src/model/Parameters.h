#pragma once

#include "model/BaseList.h"

#include <memory>

class LineManagerService;
class TOrvixEventController;
class TOrvixLine;
class TVelquist;

/**
 * @brief Owner of everything the user configured: the rule list and the action
 * sequence list (which own the rules and sequences), plus the objects they
 * share: the event controller and a line object.
 *
 * The directory-lookup client is shared with copies of the model and with its
 * discovery task, which may outlive the model.
 *
 * The order of both lists matters: it is the order of the rules file, the
 * order in which rules meet a call, and a rule names its sequence by position.
 */
class TParameters
{
public:
    TParameters();
    ~TParameters();
    TParameters(const TParameters&) = delete;
    TParameters& operator=(const TParameters&) = delete;

    bool Active() const { return m_active; }
    // Switches rule processing on or off, in the model and in the event controller.
    void SetActive(bool active);

    // Creates the event controller, which connects to the softphone. Once, at start,
    // after the rules are loaded.
    void InitLineManager(LineManagerService* service = nullptr);
    TOrvixEventController* OrvixEventController() const { return m_orvixEventController.get(); }

    TBaseList& Rules() { return m_rules; }
    const TBaseList& Rules() const { return m_rules; }
    TBaseList& ActionSequences() { return m_actionSequences; }
    const TBaseList& ActionSequences() const { return m_actionSequences; }
    const std::shared_ptr<TOrvixLine>& OrvixLine() const { return m_orvixLine; }
    const std::shared_ptr<TVelquist>& Velquist() const { return m_velquist; }

private:
    bool m_active = true;
    std::unique_ptr<TOrvixEventController> m_orvixEventController;
    std::shared_ptr<TVelquist> m_velquist;
    std::shared_ptr<TOrvixLine> m_orvixLine;
    TBaseList m_rules;
    TBaseList m_actionSequences;
};
