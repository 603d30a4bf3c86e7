// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/NameForm.h"

#include "ui_NameForm.h"

TNameForm::TNameForm(const QString& caption, const QString& label, const QString& name, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TNameForm>())
{
    ui->setupUi(this);
    setWindowTitle(caption);
    ui->label_Name->setText(label);
    ui->edit_Name->setMaxLength(MaxNameLength);
    ui->edit_Name->setText(name);
    ui->edit_Name->setFocus();
    connect(ui->edit_Name, &QLineEdit::textChanged, this, &TNameForm::ValidateForm);
    connect(ui->button_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    ValidateForm();
}

TNameForm::~TNameForm() = default;

QString TNameForm::Name() const
{
    return ui->edit_Name->text();
}

void TNameForm::ValidateForm()
{
    ui->button_OK->setEnabled(!ui->edit_Name->text().trimmed().isEmpty());
}

TRuleNameForm::TRuleNameForm(const QString& name, QWidget* parent)
    : TNameForm(QStringLiteral("Name der Regel"), QStringLiteral("Geben Sie einen Namen für die Regel ein: "), name,
                parent)
{
}

TActionSequencesNameForm::TActionSequencesNameForm(const QString& name, QWidget* parent)
    : TNameForm(QStringLiteral("Name der Aktionsfolge"),
                QStringLiteral("Geben Sie einen Namen für die Aktionfolge ein: "), name, parent)
{
}
