// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/ParameterInteractionForm.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TInteractionForm;
}

/**
 * @brief The question window of an interaction parameter: a free text field or a
 * drop-down list of fixed answers, with "Ok" and "Abbrechen".
 *
 * It has no owner window and stays on top, so that it shows also while the
 * program's other windows are hidden. "Ok" confirms the answer (Answer);
 * "Abbrechen" and closing the window decline.
 */
class TInteractionForm : public QDialog, public TParameterInteractionForm
{
    Q_OBJECT

public:
    TInteractionForm();
    ~TInteractionForm() override;

    bool ShowModal() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Button1Click();

    std::unique_ptr<Ui::TInteractionForm> ui;
};
