// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionDDEForm.h"

#include "actions/ActionDDEMessage.h"

#include "ui_AktionDDEForm.h"

TAktionDDEForm::TAktionDDEForm(TActionDDEMessage& action, const TActionFormContext& context, QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , m_message(action)
    , ui(std::make_unique<Ui::TAktionDDEForm>())
{
    ui->setupUi(Content());
    setSizeGripEnabled(true);
    LimitText(ui->edit_Service);
    LimitText(ui->edit_Topic);
    ui->frame_Parameters->SetActiveAction(&action, context.Model);
    ui->edit_Service->setText(action.DDEService());
    ui->edit_Topic->setText(action.DDETopic());
    ui->edit_Service->setFocus();
    connect(ui->edit_Service, &QLineEdit::textChanged, this, &TAktionDDEForm::ValidateForm);
    connect(ui->edit_Topic, &QLineEdit::textChanged, this, &TAktionDDEForm::ValidateForm);
    connect(ui->frame_Parameters, &TParametersFrame::ParametersChanged, this, &TAktionDDEForm::ValidateForm);
    ValidateForm();
}

TAktionDDEForm::~TAktionDDEForm() = default;

bool TAktionDDEForm::IsComplete() const
{
    return !ui->edit_Service->text().isEmpty() && !ui->edit_Topic->text().isEmpty() && m_message.Count() > 0;
}

void TAktionDDEForm::WriteFields()
{
    m_message.SetDDEService(ui->edit_Service->text());
    m_message.SetDDETopic(ui->edit_Topic->text());
}
