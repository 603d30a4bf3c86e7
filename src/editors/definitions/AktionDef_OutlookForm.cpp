// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionDef_OutlookForm.h"

#include "actions/ActionOutlookBase.h"

#include "ui_AktionDef_OutlookForm.h"

TAktionDef_OutlookForm::TAktionDef_OutlookForm(TActionOutlookBase& action, const TActionFormContext& context,
                                               QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , m_item(action)
    , ui(std::make_unique<Ui::TAktionDef_OutlookForm>())
{
    ui->setupUi(Content());
    setSizeGripEnabled(true);
    LimitText(ui->edit_Caption);
    ui->edit_Caption->setText(action.Caption());
    ui->frame_Parameters->SetActiveAction(&action, context.Model);
    ui->frame_Template->SetKind(TTemplateKind::PlainText);
    ui->frame_Template->SetAction(&action, ui->frame_Parameters);
    ui->frame_Template->SetTemplate(action.Template(), action.TemplateActive());
    ui->edit_Caption->setFocus();
}

TAktionDef_OutlookForm::~TAktionDef_OutlookForm() = default;

QList<TActionDefinitionForm::TFieldProblem> TAktionDef_OutlookForm::Problems() const
{
    QList<TFieldProblem> problems;
    if (ui->edit_Caption->text().trimmed().isEmpty())
        problems.append({ui->edit_Caption, QStringLiteral("Bezeichnung")});
    if (ui->frame_Template->IsActive() && !ui->frame_Template->TemplateExists())
        problems.append({ui->frame_Template->PathField(), QStringLiteral("Gültiges Templatefile auswählen")});
    return problems;
}

void TAktionDef_OutlookForm::WriteFields()
{
    m_item.SetCaption(ui->edit_Caption->text());
    m_item.SetTemplateActive(ui->frame_Template->IsActive());
    m_item.SetTemplate(ui->frame_Template->TemplatePath());
    if (ui->frame_Template->IsActive())
        ui->frame_Template->BringParametersInStep();
}
