// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ParameterUserForm.h"

#include "editors/definitions/ChoiceLists.h"
#include "parameters/ParameterUser.h"

#include "ui_ParameterUserForm.h"

TParameterUserForm::TParameterUserForm(TParameterUser& parameter, QWidget* parent)
    : QDialog(parent)
    , m_parameter(parameter)
    , ui(std::make_unique<Ui::TParameterUserForm>())
{
    ui->setupUi(this);
    for (const QString& name : KnownUserVariables(parameter))
        ui->comboBox_UserParameter->addItem(name, name);
    ui->comboBox_UserParameter->setCurrentIndex(-1);
    ui->comboBox_UserParameter->setEditText(parameter.ParameterValue());
    connect(ui->comboBox_UserParameter, &QComboBox::editTextChanged, this, &TParameterUserForm::ValidateForm);
    connect(ui->button_OK, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    ValidateForm();
}

TParameterUserForm::~TParameterUserForm() = default;

void TParameterUserForm::ValidateForm()
{
    ui->button_OK->setEnabled(!ui->comboBox_UserParameter->currentText().trimmed().isEmpty());
}

void TParameterUserForm::accept()
{
    ValidateForm();
    if (!ui->button_OK->isEnabled())
        return;
    // Kept as typed: a fixed text may begin or end with blanks on purpose.
    const QString text = ui->comboBox_UserParameter->currentText();
    m_parameter.SetParameterValue(text);
    m_parameter.SetIsVariable(
        ui->comboBox_UserParameter->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0);
    QDialog::accept();
}
