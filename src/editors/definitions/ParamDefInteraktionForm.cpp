// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ParamDefInteraktionForm.h"

#include "editors/definitions/ParamDefInteraktionComboBoxForm.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ui/InteractionForm.h"
#include "widgets/MessageBox.h"
#include "widgets/SymbolIcon.h"

#include "ui_ParamDefInteraktionForm.h"

#include <algorithm>

TParamDef_InteraktionForm::TParamDef_InteraktionForm(TParameterInteraction& parameter, QWidget* parent)
    : QDialog(parent)
    , m_parameter(parameter)
    , ui(std::make_unique<Ui::TParamDef_InteraktionForm>())
{
    ui->setupUi(this);
    ui->button_ItemUp->setIcon(SymbolIcon(u"arrow_upward"));
    ui->button_ItemDown->setIcon(SymbolIcon(u"arrow_downward"));
    (parameter.IsSimpleInput() ? ui->radio_Textfeld : ui->radio_Combobox)->setChecked(true);
    ui->edtCaption->setText(parameter.Caption());
    ui->edtQuery->setText(parameter.Query());
    ui->UserItems->addItems(parameter.ItemLines());
    ui->UserItems->setCurrentRow(0);

    connect(ui->radio_Combobox, &QAbstractButton::toggled, this, &TParamDef_InteraktionForm::ValidateForm);
    connect(ui->UserItems, &QListWidget::currentRowChanged, this, &TParamDef_InteraktionForm::ValidateForm);
    connect(ui->UserItems, &QListWidget::itemDoubleClicked, this, &TParamDef_InteraktionForm::EditItemClick);
    connect(ui->button_InsertItem, &QAbstractButton::clicked, this, &TParamDef_InteraktionForm::InsertItemClick);
    connect(ui->button_EditItem, &QAbstractButton::clicked, this, &TParamDef_InteraktionForm::EditItemClick);
    connect(ui->button_DeleteItem, &QAbstractButton::clicked, this, &TParamDef_InteraktionForm::DeleteItemClick);
    connect(ui->button_ItemUp, &QAbstractButton::clicked, this, [this] { MoveItem(-1); });
    connect(ui->button_ItemDown, &QAbstractButton::clicked, this, [this] { MoveItem(1); });
    connect(ui->button_Test, &QAbstractButton::clicked, this, &TParamDef_InteraktionForm::TestClick);
    connect(ui->button_OK, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    ValidateForm();
    ui->edtCaption->setFocus();
}

TParamDef_InteraktionForm::~TParamDef_InteraktionForm() = default;

void TParamDef_InteraktionForm::ValidateForm()
{
    // The option panel shows for the drop-down list only; the window grows and shrinks with it.
    ui->Panel2->setVisible(ui->radio_Combobox->isChecked());
    const int row = ui->UserItems->currentRow();
    const bool selected = row >= 0;
    ui->button_EditItem->setEnabled(selected);
    ui->button_DeleteItem->setEnabled(selected);
    ui->button_ItemUp->setEnabled(selected && row > 0);
    ui->button_ItemDown->setEnabled(selected && row < ui->UserItems->count() - 1);
}

void TParamDef_InteraktionForm::WriteTo(TParameterInteraction& parameter) const
{
    parameter.SetCaption(ui->edtCaption->text());
    parameter.SetQuery(ui->edtQuery->text());
    parameter.SetIsSimpleInput(ui->radio_Textfeld->isChecked());
    QString items;
    for (int i = 0; i < ui->UserItems->count(); ++i)
        items += ui->UserItems->item(i)->text() + QStringLiteral("\r\n");
    parameter.SetItems(items);
}

void TParamDef_InteraktionForm::accept()
{
    WriteTo(m_parameter);
    QDialog::accept();
}

void TParamDef_InteraktionForm::InsertItemClick()
{
    TParamDef_Interaktion_ComboBoxForm form(QString(), this);
    if (form.exec() != QDialog::Accepted)
        return;
    ui->UserItems->addItem(form.Option());
    ui->UserItems->setCurrentRow(ui->UserItems->count() - 1);
}

void TParamDef_InteraktionForm::EditItemClick()
{
    QListWidgetItem* item = ui->UserItems->currentItem();
    if (!item)
        return;
    TParamDef_Interaktion_ComboBoxForm form(item->text(), this);
    if (form.exec() == QDialog::Accepted)
        item->setText(form.Option());
}

void TParamDef_InteraktionForm::DeleteItemClick()
{
    const int row = ui->UserItems->currentRow();
    if (row < 0)
        return;
    const QString text =
        QStringLiteral("Möchten Sie die Option @ wirklich löschen?")
            .replace(u'@', QStringLiteral("\"") + ui->UserItems->item(row)->text() + QStringLiteral("\""));
    if (TMessageBox::Question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    delete ui->UserItems->takeItem(row);
    ui->UserItems->setCurrentRow(std::min(row, ui->UserItems->count() - 1));
    ValidateForm();
}

void TParamDef_InteraktionForm::MoveItem(int offset)
{
    const int row = ui->UserItems->currentRow();
    const int target = row + offset;
    if (row < 0 || target < 0 || target >= ui->UserItems->count())
        return;
    ui->UserItems->insertItem(target, ui->UserItems->takeItem(row));
    ui->UserItems->setCurrentRow(target);
}

void TParamDef_InteraktionForm::TestClick()
{
    // The question as it stands, in the window a running rule would show.
    TParameterInteraction question;
    WriteTo(question);
    TInteractionForm form;
    form.SetInteractionParam(&question);
    form.ShowModal();
}
