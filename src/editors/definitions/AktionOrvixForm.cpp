// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionOrvixForm.h"

#include "actions/ActionOrvixDTMF.h"

#include "ui_AktionOrvixForm.h"

TAktionOrvixForm::TAktionOrvixForm(TBaseAction& action, QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , ui(std::make_unique<Ui::TAktionOrvixForm>())
{
    ui->setupUi(Content());
    LimitText(ui->edit_Text);
    if (auto* dtmf = qobject_cast<TActionOrvixDTMF*>(&action)) {
        ui->label_Text->setText(QStringLiteral("Sende folgende DTMF Zeichenfolge:"));
        ui->edit_Text->setText(dtmf->DtmfSigns());
    } else {
        ui->edit_Text->setText(action.Caption());
    }
    ui->edit_Text->setFocus();
    connect(ui->edit_Text, &QLineEdit::textChanged, this, &TAktionOrvixForm::ValidateForm);
    ValidateForm();
}

TAktionOrvixForm::~TAktionOrvixForm() = default;

bool TAktionOrvixForm::EditsDtmfSigns() const
{
    return qobject_cast<const TActionOrvixDTMF*>(&Action()) != nullptr;
}

bool TAktionOrvixForm::IsComplete() const
{
    return !ui->edit_Text->text().trimmed().isEmpty();
}

QList<TActionDefinitionForm::TFieldProblem> TAktionOrvixForm::Problems() const
{
    // The softphone refuses any other sign, so the action would fail at every call.
    if (EditsDtmfSigns() && !TActionOrvixDTMF::IsValidDtmfSigns(ui->edit_Text->text()))
        return {{ui->edit_Text, QStringLiteral("DTMF Zeichenfolge (nur 0-9, *, # und A-D)")}};
    return {};
}

void TAktionOrvixForm::WriteFields()
{
    if (auto* dtmf = qobject_cast<TActionOrvixDTMF*>(&Action()))
        dtmf->SetDtmfSigns(ui->edit_Text->text());
    else
        Action().SetCaption(ui->edit_Text->text());
}
