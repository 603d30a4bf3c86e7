#pragma once

class TParameterInteraction;

/**
 * @brief The window in which an interaction parameter puts its question to the user.
 *
 * Core only knows this interface; the program's window (TInteractionForm) lives
 * in the UI library and comes through the user interface registered at start
 * (TUserInterface), and tests register fakes. The parameter sets
 * InteractionParam before it calls ShowModal.
 */
class TParameterInteractionForm
{
public:
    virtual ~TParameterInteractionForm() = default;

    TParameterInteraction* InteractionParam() const { return FInteractionParam; }
    void SetInteractionParam(TParameterInteraction* param) { FInteractionParam = param; }

    // Asks the question and waits for the answer. True when the user confirmed;
    // the answer is then the parameter's ParameterResult.
    virtual bool ShowModal() = 0;

protected:
    TParameterInteraction* FInteractionParam = nullptr;
};
