// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionHTMLTemplateForm.h"

#include "actions/ActionHTMLMessage.h"

#include "ui_AktionHTMLTemplateForm.h"

#include <QRegularExpressionValidator>

TAktionHTMLTemplateForm::TAktionHTMLTemplateForm(TActionHTMLMessage& action, const TActionFormContext& context,
                                                 QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , m_message(action)
    , ui(std::make_unique<Ui::TAktionHTMLTemplateForm>())
{
    ui->setupUi(Content());
    setSizeGripEnabled(true);
    LimitText(ui->edit_Url);
    LimitText(ui->edit_User);
    LimitText(ui->edit_Password);
    // A size that is no number would keep the window from showing: pixels only, 1 to 9999.
    auto* pixels = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[1-9][0-9]{0,3}")), this);
    ui->edit_Width->setValidator(pixels);
    ui->edit_Height->setValidator(pixels);

    ui->frame_Parameters->SetActiveAction(&action, context.Model);
    ui->frame_Template->SetKind(TTemplateKind::Html);
    ui->frame_Template->SetAction(&action, ui->frame_Parameters);
    ui->frame_Template->SetTemplate(action.HTMLTemplate(), true);
    ui->frame_Template->SetAlwaysActive();
    ui->edit_Url->setText(action.HTMLWebserverUrl());
    ui->edit_User->setText(action.HTMLUser());
    ui->edit_Password->setText(action.HTMLPassword());
    ui->edit_Width->setText(action.HTMLMessageWidth());
    ui->edit_Height->setText(action.HTMLMessageHeight());
    ui->checkBox_DefaultWidth->setChecked(action.DefaultWidth());
    ui->checkBox_Preload->setChecked(action.ShowInvisible());

    connect(ui->frame_Message, &TMessageFrame::Changed, this, &TAktionHTMLTemplateForm::ValidateForm);
    connect(ui->edit_Width, &QLineEdit::textChanged, this, &TAktionHTMLTemplateForm::ValidateForm);
    connect(ui->edit_Height, &QLineEdit::textChanged, this, &TAktionHTMLTemplateForm::ValidateForm);
    connect(ui->checkBox_DefaultWidth, &QCheckBox::toggled, this, &TAktionHTMLTemplateForm::UpdateEnabling);
    ui->frame_Message->Show(action, *context.Model, context.ActiveActionSequence);
    UpdateEnabling();
}

TAktionHTMLTemplateForm::~TAktionHTMLTemplateForm() = default;

void TAktionHTMLTemplateForm::UpdateEnabling()
{
    ui->edit_Width->setEnabled(!ui->checkBox_DefaultWidth->isChecked());
    ValidateForm();
}

bool TAktionHTMLTemplateForm::IsComplete() const
{
    // With the default width the width field is not used, and cannot be corrected either.
    return ui->frame_Message->IsComplete() && ui->edit_Height->hasAcceptableInput() &&
        (ui->checkBox_DefaultWidth->isChecked() || ui->edit_Width->hasAcceptableInput());
}

void TAktionHTMLTemplateForm::WriteFields()
{
    m_message.SetHTMLTemplate(ui->frame_Template->TemplatePath());
    m_message.SetHTMLWebserverUrl(ui->edit_Url->text());
    m_message.SetHTMLMessageWidth(ui->edit_Width->text());
    m_message.SetHTMLMessageHeight(ui->edit_Height->text());
    m_message.SetHTMLUser(ui->edit_User->text());
    m_message.SetHTMLPassword(ui->edit_Password->text());
    m_message.SetShowInvisible(ui->checkBox_Preload->isChecked());
    m_message.SetDefaultWidth(ui->checkBox_DefaultWidth->isChecked());
    ui->frame_Message->Write(m_message);
    if (ui->frame_Template->TemplateExists())
        ui->frame_Template->BringParametersInStep();
}
