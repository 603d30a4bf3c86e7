// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionBallonMessageForm.h"

#include "actions/ActionBalloonMessage.h"

#include "ui_AktionBallonMessageForm.h"

TAktionBallonMessageForm::TAktionBallonMessageForm(TActionBalloonMessage& action, const TActionFormContext& context,
                                                   QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , m_message(action)
    , ui(std::make_unique<Ui::TAktionBallonMessageForm>())
{
    ui->setupUi(Content());
    setSizeGripEnabled(true);
    ui->frame_Parameters->SetActiveAction(&action, context.Model);
    connect(ui->frame_Message, &TMessageFrame::Changed, this, &TAktionBallonMessageForm::ValidateForm);
    ui->frame_Message->Show(action, *context.Model, context.ActiveActionSequence);
}

TAktionBallonMessageForm::~TAktionBallonMessageForm() = default;

bool TAktionBallonMessageForm::IsComplete() const
{
    return ui->frame_Message->IsComplete();
}

void TAktionBallonMessageForm::WriteFields()
{
    ui->frame_Message->Write(m_message);
}
