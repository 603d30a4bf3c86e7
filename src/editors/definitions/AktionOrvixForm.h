// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

namespace Ui {
class TAktionOrvixForm;
}

/**
 * @brief The dialog of the call-control actions, one line of text: the caption
 * of taking, ending or blocking a call, or the digits a DTMF action sends.
 */
class TAktionOrvixForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionOrvixForm(TBaseAction& action, QWidget* parent = nullptr);
    ~TAktionOrvixForm() override;

protected:
    bool IsComplete() const override;
    QList<TFieldProblem> Problems() const override;
    void WriteFields() override;

private:
    bool EditsDtmfSigns() const;

    std::unique_ptr<Ui::TAktionOrvixForm> ui;
};
