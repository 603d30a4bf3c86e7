// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class TParameterInteraction;

/**
 * @brief The window in which an interaction parameter puts its question to the user.
 *
 * Core only knows this interface; the program's window (TInteractionForm) lives
 * in the UI library and comes through the user interface registered at start
 * (TUserInterface), and tests register fakes. The parameter sets
 * InteractionParam before it calls ShowModal and takes the Answer back: the
 * window never writes into the rule objects, which other calls' runs share.
 */
class TParameterInteractionForm
{
public:
    virtual ~TParameterInteractionForm() = default;

    // The parameter whose question the window asks; the window only reads it.
    const TParameterInteraction* InteractionParam() const { return FInteractionParam; }
    void SetInteractionParam(const TParameterInteraction* param) { FInteractionParam = param; }

    // Asks the question and waits for the answer. True when the user confirmed.
    virtual bool ShowModal() = 0;
    // The answer given with the last confirmation.
    const QString& Answer() const { return FAnswer; }

protected:
    const TParameterInteraction* FInteractionParam = nullptr;
    QString FAnswer;
};
