// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ui/InteractionForm.h"

#include "parameters/ParameterInteraction.h"
#include "platform/KestrunError.h"
#include "widgets/CenteredWindow.h"

#include "ui_InteractionForm.h"

TInteractionForm::TInteractionForm()
    : ui(std::make_unique<Ui::TInteractionForm>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    connect(ui->Button1, &QPushButton::clicked, this, &TInteractionForm::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TInteractionForm::~TInteractionForm() = default;

bool TInteractionForm::ShowModal()
{
    if (!FInteractionParam)
        throw EKestrunError(QStringLiteral("The question window was shown without its parameter."));
    FAnswer.clear();
    const TParameterInteraction& param = *FInteractionParam;
    setWindowTitle(param.Caption());
    if (param.IsSimpleInput()) {
        ui->PageControl->setCurrentWidget(ui->SimpleInput);
        ui->SimpelQuery->setText(param.Query());
        ui->SimpleEdit->clear();
        ui->SimpleEdit->setFocus();
    } else {
        ui->PageControl->setCurrentWidget(ui->NoSimpleInput);
        ui->NoSimpelQuery->setText(param.Query());
        ui->NoSimpleCombo->clear();
        ui->NoSimpleCombo->addItems(param.ItemLines());
        ui->NoSimpleCombo->setCurrentIndex(0);
        ui->NoSimpleCombo->setFocus();
    }
    return exec() == QDialog::Accepted;
}

void TInteractionForm::Button1Click()
{
    FAnswer =
        ui->PageControl->currentWidget() == ui->SimpleInput ? ui->SimpleEdit->text() : ui->NoSimpleCombo->currentText();
    accept();
}

void TInteractionForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnScreen(*this);
}
