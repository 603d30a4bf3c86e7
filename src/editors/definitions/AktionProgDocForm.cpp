// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/AktionProgDocForm.h"

#include "actions/ActionExecuteProgram.h"
#include "actions/ActionOpenDocument.h"
#include "editors/definitions/ProgramChooser.h"
#include "platform/Environment.h"

#include "ui_AktionProgDocForm.h"

#include <QFileInfo>

TAktionProgDocForm::TAktionProgDocForm(TBaseAction& action, const TActionFormContext& context, QWidget* parent)
    : TActionDefinitionForm(action, parent)
    , ui(std::make_unique<Ui::TAktionProgDocForm>())
{
    ui->setupUi(Content());
    setSizeGripEnabled(true);
    setMinimumSize(494, 354);
    LimitText(ui->edit_Path);
    if (auto* program = qobject_cast<TActionExecuteProgram*>(&action)) {
        ChoosePath = &ChooseProgram;
        ui->edit_Path->setText(program->ProgramPath());
        ui->checkBox_WaitForTerminate->setChecked(program->WaitForTerminate());
    } else {
        ChoosePath = &ChooseDocument;
        ui->groupBox_Path->setTitle(QStringLiteral("Zu öffnendes Dokument"));
        ui->edit_Path->setText(qobject_cast<TActionOpenDocument*>(&action)->DocPath());
        ui->checkBox_WaitForTerminate->hide();
    }
    ui->frame_Parameters->SetActiveAction(&action, context.Model);
    connect(ui->edit_Path, &QLineEdit::textChanged, this, &TAktionProgDocForm::CheckPath);
    connect(ui->button_Choose, &QAbstractButton::clicked, this, &TAktionProgDocForm::button_ChooseClick);
    CheckPath();
}

TAktionProgDocForm::~TAktionProgDocForm() = default;

void TAktionProgDocForm::CheckPath()
{
    // Looked for where the action looks when it runs: a program's path with its
    // references expanded ("%HOME%/bin/crm.sh"), a document's as written.
    const QString typed = ui->edit_Path->text();
    const bool program = qobject_cast<const TActionExecuteProgram*>(&Action()) != nullptr;
    const QString path = program ? ExpandEnvironmentReferences(typed) : typed;
    ui->label_Warning->setText(QFileInfo(path).isFile() ? QString() : QStringLiteral("Pfad nicht gefunden"));
    ValidateForm();
}

void TAktionProgDocForm::button_ChooseClick()
{
    const QString path = ChoosePath(this, ui->edit_Path->text());
    if (!path.isEmpty())
        ui->edit_Path->setText(path);
}

bool TAktionProgDocForm::IsComplete() const
{
    return !ui->edit_Path->text().isEmpty();
}

void TAktionProgDocForm::WriteFields()
{
    if (auto* program = qobject_cast<TActionExecuteProgram*>(&Action())) {
        program->SetProgramPath(ui->edit_Path->text());
        program->SetWaitForTerminate(ui->checkBox_WaitForTerminate->isChecked());
    } else if (auto* document = qobject_cast<TActionOpenDocument*>(&Action())) {
        document->SetDocPath(ui->edit_Path->text());
    }
}
