#include "editors/RuleNameForm.h"

#include "ui_RuleNameForm.h"

TRuleNameForm::TRuleNameForm(const QString& name, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TRuleNameForm>())
{
    ui->setupUi(this);
    ui->edit_Name->setText(name);
    ui->edit_Name->selectAll();
    connect(ui->edit_Name, &QLineEdit::textChanged, this, &TRuleNameForm::ValidateForm);
    connect(ui->button_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    ValidateForm();
}

TRuleNameForm::~TRuleNameForm() = default;

QString TRuleNameForm::Name() const
{
    return ui->edit_Name->text();
}

void TRuleNameForm::ValidateForm()
{
    ui->button_OK->setEnabled(!ui->edit_Name->text().trimmed().isEmpty());
}
