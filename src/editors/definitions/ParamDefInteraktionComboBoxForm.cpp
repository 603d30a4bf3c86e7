// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ParamDefInteraktionComboBoxForm.h"

#include "ui_ParamDefInteraktionComboBoxForm.h"

TParamDef_Interaktion_ComboBoxForm::TParamDef_Interaktion_ComboBoxForm(const QString& option, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TParamDef_Interaktion_ComboBoxForm>())
{
    ui->setupUi(this);
    ui->EditComboxInhalt->setText(option);
    const auto validate = [this] { ui->button_OK->setEnabled(!ui->EditComboxInhalt->text().isEmpty()); };
    connect(ui->EditComboxInhalt, &QLineEdit::textChanged, this, validate);
    connect(ui->button_OK, &QAbstractButton::clicked, this, [this] {
        if (ui->button_OK->isEnabled())
            accept();
    });
    connect(ui->button_Cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    validate();
}

TParamDef_Interaktion_ComboBoxForm::~TParamDef_Interaktion_ComboBoxForm() = default;

QString TParamDef_Interaktion_ComboBoxForm::Option() const
{
    return ui->EditComboxInhalt->text();
}
