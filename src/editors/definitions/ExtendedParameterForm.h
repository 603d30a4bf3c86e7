// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

class TActionSendEMail;

namespace Ui {
class TExtendedParameterForm;
}

/**
 * @brief "Erweiterte Parameterangabe": the parameters whose values make one
 * field of an e-mail, and whether the field takes them instead of its fixed text.
 *
 * It edits the field's inner action like any definition dialog edits its action:
 * the caller hands a copy and adopts it on OK.
 */
class TExtendedParameterForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TExtendedParameterForm(TActionSendEMail& inner, const TActionFormContext& context, QWidget* parent = nullptr);
    ~TExtendedParameterForm() override;

protected:
    void WriteFields() override;

private:
    std::unique_ptr<Ui::TExtendedParameterForm> ui;
};
