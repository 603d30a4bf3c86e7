// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionStopperForm.h"

#include "actions/ActionStopper.h"

#include "ui_AktionStopperForm.h"

#include <algorithm>

TAktionStopperForm::TAktionStopperForm(TActionStopper& action, QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , m_stopper(action)
    , ui(std::make_unique<Ui::TAktionStopperForm>())
{
    ui->setupUi(Content());
    ui->comboBox_Success->setCurrentIndex(action.BlockOnSuccess() ? 0 : 1);
    // A count from a hand-edited file outside the field's range is shown at its nearest end.
    ui->spinBox_Count->setValue(std::clamp(action.BlockCount(), 1, 99));
    (action.BlockAllActions() ? ui->radioButton_All : ui->radioButton_Count)->setChecked(true);
    connect(ui->radioButton_Count, &QRadioButton::toggled, this, &TAktionStopperForm::UpdateEnabling);
    UpdateEnabling();
}

TAktionStopperForm::~TAktionStopperForm() = default;

void TAktionStopperForm::UpdateEnabling()
{
    ui->spinBox_Count->setEnabled(ui->radioButton_Count->isChecked());
}

void TAktionStopperForm::WriteFields()
{
    m_stopper.SetBlockOnSuccess(ui->comboBox_Success->currentIndex() == 0);
    m_stopper.SetBlockAllActions(ui->radioButton_All->isChecked());
    m_stopper.SetBlockCount(ui->spinBox_Count->value());
}
