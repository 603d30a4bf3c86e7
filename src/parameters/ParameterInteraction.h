// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/ParameterInteractionForm.h"
#include "model/BaseParameter.h"

#include <QStringList>

#include <memory>

/**
 * @brief A question put to the user while the call is handled; cancelling the question cancels the action.
 *
 * The question window comes from the registered user interface, a new one for
 * each question; without one (a headless run) the parameter yields the empty
 * text and does not cancel.
 */
class TParameterInteraction : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(QString Query READ Query WRITE SetQuery)
    Q_PROPERTY(bool IsSimpleInput READ IsSimpleInput WRITE SetIsSimpleInput)
    Q_PROPERTY(QString Items READ Items WRITE SetItems)

public:
    TParameterInteraction();
    ~TParameterInteraction() override;

    KESTRUN_FIELD(QString, Query)
    // True: free text field; false: choice from Items.
    KESTRUN_FIELD(bool, IsSimpleInput, true)
    // The answers to choose from, one per line.
    KESTRUN_FIELD(QString, Items)

    // The answers of Items in order; a final line break starts no further answer.
    QStringList ItemLines() const;

    // The window of the current or last question; it lives until the next question.
    TParameterInteractionForm* ExtForm() const { return m_extForm.get(); }
    // Frees the previous window and asks the user interface for a new one.
    void GetForm();
    // Asks the question; a question not confirmed cancels the action and yields empty.
    QString GetParamResult(TActionContext& context) override;

private:
    std::unique_ptr<TParameterInteractionForm> m_extForm;
};
