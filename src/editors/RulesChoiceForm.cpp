// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/RulesChoiceForm.h"

#include "model/ListOwnership.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"

#include "ui_RulesChoiceForm.h"

namespace {

constexpr int EntryHeight = 17;
// The rule's position in the model's list.
constexpr int RuleIndexRole = Qt::UserRole;

} // namespace

TRulesChoiceForm::TRulesChoiceForm(std::unique_ptr<TParameters> parameters, const QString& caption,
                                   const QString& label, const QString& actionName, const QString& actionText,
                                   QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TRulesChoiceForm>())
    , m_parameters(std::move(parameters))
{
    ui->setupUi(this);
    setWindowTitle(caption);
    ui->label_Rules->setText(label);
    ui->button_Action->setObjectName(actionName);
    ui->button_Action->setText(actionText);
    const QList<TBaseObject*>& rules = m_parameters->Rules().MainList();
    for (int i = 0; i < rules.size(); ++i) {
        const auto* rule = qobject_cast<const TRule*>(rules.at(i));
        if (!rule)
            continue;
        // Plain text: a rule's name comes from a file someone else wrote.
        auto* entry = new QListWidgetItem(rule->Name(), ui->checkListBox_Rules);
        entry->setData(RuleIndexRole, i);
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        entry->setCheckState(rule->Active() ? Qt::Checked : Qt::Unchecked);
        entry->setSizeHint(QSize(0, EntryHeight));
    }
    ui->checkListBox_Rules->setCurrentRow(0);
    connect(ui->checkListBox_Rules, &QListWidget::itemChanged, this, &TRulesChoiceForm::ValidateForm);
    connect(ui->button_SelectAll, &QPushButton::clicked, this, &TRulesChoiceForm::button_SelectAllClick);
    connect(ui->button_DeselectAll, &QPushButton::clicked, this, &TRulesChoiceForm::button_DeselectAllClick);
    connect(ui->button_Action, &QPushButton::clicked, this, &TRulesChoiceForm::button_ActionClick);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    ValidateForm();
}

TRulesChoiceForm::~TRulesChoiceForm() = default;

std::unique_ptr<TParameters> TRulesChoiceForm::TakeParameters()
{
    return std::move(m_parameters);
}

void TRulesChoiceForm::button_SelectAllClick()
{
    SetAllChecked(true);
}

void TRulesChoiceForm::button_DeselectAllClick()
{
    SetAllChecked(false);
}

void TRulesChoiceForm::SetAllChecked(bool checked)
{
    for (int i = 0; i < ui->checkListBox_Rules->count(); ++i)
        ui->checkListBox_Rules->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    ValidateForm();
}

void TRulesChoiceForm::ValidateForm()
{
    bool anyChecked = false;
    for (int i = 0; i < ui->checkListBox_Rules->count() && !anyChecked; ++i)
        anyChecked = ui->checkListBox_Rules->item(i)->checkState() == Qt::Checked;
    ui->button_Action->setEnabled(anyChecked);
}

void TRulesChoiceForm::button_ActionClick()
{
    const QList<TBaseObject*> rules = m_parameters->Rules().MainList();
    for (int i = 0; i < ui->checkListBox_Rules->count(); ++i) {
        const QListWidgetItem* entry = ui->checkListBox_Rules->item(i);
        if (entry->checkState() != Qt::Checked)
            TakeItem(m_parameters->Rules(), rules.value(entry->data(RuleIndexRole).toInt()));
    }
    accept();
}

TImportRulesForm::TImportRulesForm(std::unique_ptr<TParameters> parameters, QWidget* parent)
    : TRulesChoiceForm(std::move(parameters), QStringLiteral("Regeln importieren"),
                       QStringLiteral("Wählen Sie die Regeln aus, die Sie importieren möchten:"),
                       QStringLiteral("button_Import"), QStringLiteral("Importieren"), parent)
{
}

TExportRulesForm::TExportRulesForm(std::unique_ptr<TParameters> parameters, QWidget* parent)
    : TRulesChoiceForm(std::move(parameters), QStringLiteral("Regeln exportieren"),
                       QStringLiteral("Wählen Sie die Regeln aus, die Sie exportieren möchten:"),
                       QStringLiteral("button_Export"), QStringLiteral("Exportieren"), parent)
{
}
