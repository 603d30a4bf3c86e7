// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ExtendedParameterForm.h"

#include "actions/ActionSendEMail.h"

#include "ui_ExtendedParameterForm.h"

TExtendedParameterForm::TExtendedParameterForm(TActionSendEMail& inner, const TActionFormContext& context,
                                               QWidget* parent)
    : TActionDefinitionForm(inner, parent)
    , ui(std::make_unique<Ui::TExtendedParameterForm>())
{
    ui->setupUi(Content());
    setWindowTitle(QStringLiteral("Erweiterte Parameterangabe"));
    setSizeGripEnabled(true);
    ui->frame_Parameters->SetActiveAction(&inner, context.Model);
    ui->checkBox_Active->setChecked(inner.Active());
}

TExtendedParameterForm::~TExtendedParameterForm() = default;

void TExtendedParameterForm::WriteFields()
{
    Action().SetActive(ui->checkBox_Active->isChecked());
}
