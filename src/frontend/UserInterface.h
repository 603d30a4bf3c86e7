#pragma once

#include "frontend/ParameterInteractionForm.h"

#include <memory>

/**
 * @brief What core asks of the program's windows.
 *
 * Core never includes a widgets header: every window it needs comes through
 * this one interface, which the UI registers once at start and tests replace
 * with a fake. Without one (a program or test without windows) core goes
 * without: a question to the user yields nothing.
 */
class TUserInterface
{
public:
    virtual ~TUserInterface() = default;

    // A new question window for an interaction parameter, one per question.
    virtual std::unique_ptr<TParameterInteractionForm> CreateInteractionForm() = 0;
};

// The registered interface, or null when there is none.
TUserInterface* UserInterface();
// Registers ui (not owned: it outlives its registration); null removes it.
void SetUserInterface(TUserInterface* ui);
