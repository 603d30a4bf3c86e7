// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/TemplateFrame.h"

#include "editors/definitions/ParametersFrame.h"
#include "editors/definitions/TemplateEditorForm.h"
#include "editors/definitions/TemplateParameterStep.h"
#include "model/BaseAction.h"
#include "model/BaseParameter.h"
#include "platform/AtomicFile.h"
#include "platform/DataPaths.h"
#include "platform/Environment.h"
#include "platform/KestrunError.h"
#include "program/Program.h"
#include "widgets/MessageBox.h"

#include "ui_TemplateFrame.h"

#include <QFileDialog>
#include <QFileInfo>

TTemplateFrame::TTemplateFrame(QWidget* parent)
    : QWidget(parent)
    , ChooseOpenFile([](QWidget* owner, const QString& title, const QString& start, const QString& filter) {
        return QFileDialog::getOpenFileName(owner, title, start, filter);
    })
    , ChooseSaveFile([](QWidget* owner, const QString& title, const QString& start, const QString& filter) {
        return QFileDialog::getSaveFileName(owner, title, start, filter);
    })
    , ui(std::make_unique<Ui::TTemplateFrame>())
{
    ui->setupUi(this);
    connect(ui->edit_Template, &QLineEdit::textChanged, this, &TTemplateFrame::ValidateForm);
    connect(ui->checkBox_Active, &QCheckBox::toggled, this, &TTemplateFrame::ValidateForm);
    connect(ui->button_ChooseTemplate, &QAbstractButton::clicked, this, &TTemplateFrame::button_ChooseTemplateClick);
    connect(ui->button_New, &QAbstractButton::clicked, this, &TTemplateFrame::button_NewClick);
    connect(ui->button_Edit, &QAbstractButton::clicked, this, &TTemplateFrame::button_EditClick);
    ValidateForm();
}

TTemplateFrame::~TTemplateFrame() = default;

void TTemplateFrame::SetTemplate(const QString& path, bool active)
{
    ui->edit_Template->setText(path);
    // The start of a long path says more than its end.
    ui->edit_Template->setCursorPosition(0);
    ui->checkBox_Active->setChecked(active);
    ValidateForm();
}

void TTemplateFrame::SetAlwaysActive()
{
    ui->checkBox_Active->setChecked(true);
    ui->checkBox_Active->setEnabled(false);
}

QString TTemplateFrame::TemplatePath() const
{
    return ui->edit_Template->text();
}

bool TTemplateFrame::IsActive() const
{
    return ui->checkBox_Active->isChecked();
}

QString TTemplateFrame::ResolvedPath() const
{
    // Stored as written ("%HOME%/Vorlagen/karte.html"); the actions expand it when they run.
    return ExpandEnvironmentReferences(TemplatePath());
}

bool TTemplateFrame::TemplateExists() const
{
    const QString path = ResolvedPath();
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QWidget* TTemplateFrame::PathField() const
{
    return ui->edit_Template;
}

void TTemplateFrame::ValidateForm()
{
    const bool active = IsActive();
    ui->edit_Template->setEnabled(active);
    ui->button_ChooseTemplate->setEnabled(active);
    ui->button_New->setEnabled(active);
    ui->button_Edit->setEnabled(active && TemplateExists());
    emit TemplateChanged();
}

QString TTemplateFrame::FileFilter() const
{
    const QString html = QStringLiteral("HTML Dateien (*.htm *.html)");
    const QString all = QStringLiteral("Alle Dateien (*)");
    if (m_kind == TTemplateKind::Html)
        return html + QStringLiteral(";;") + all;
    return QStringLiteral("Textdateien (*.txt)") + QStringLiteral(";;") + html + QStringLiteral(";;") + all;
}

QString TTemplateFrame::StartFolder() const
{
    const QString path = ResolvedPath();
    if (!path.isEmpty() && QFileInfo(path).absoluteDir().exists())
        return QFileInfo(path).absolutePath();
    return UserDataPath();
}

void TTemplateFrame::button_ChooseTemplateClick()
{
    const QString path = ChooseOpenFile(window(), QStringLiteral("Template auswählen"), StartFolder(), FileFilter());
    if (!path.isEmpty())
        ui->edit_Template->setText(path);
}

void TTemplateFrame::SetAction(TBaseAction* action, TParametersFrame* parametersFrame)
{
    m_action = action;
    m_parametersFrame = parametersFrame;
}

QList<TBaseParameter*> TTemplateFrame::UsedParameters() const
{
    QList<TBaseParameter*> parameters;
    if (m_action) {
        for (int i = 0; i < m_action->Count(); ++i) {
            if (auto* parameter = qobject_cast<TBaseParameter*>(m_action->GetObject(i)))
                parameters.append(parameter);
        }
    }
    return parameters;
}

void TTemplateFrame::BringParametersInStep()
{
    if (!m_action || !TemplateExists())
        return;
    QList<TBaseParameter*> used = UsedParameters();
    ::BringParametersInStep(window(), ResolvedPath(), *m_action, used);
    if (m_parametersFrame)
        m_parametersFrame->ReloadParameters();
}

void TTemplateFrame::OpenEditor(const QString& path)
{
    TTemplateEditorForm editor(path, m_kind, UsedParameters(), TProgram::Title, window());
    if (editor.exec() == QDialog::Accepted || editor.Saved())
        BringParametersInStep();
    ValidateForm();
}

void TTemplateFrame::button_NewClick()
{
    const QString path = ChooseSaveFile(window(), QStringLiteral("Neues Template"), StartFolder(), FileFilter());
    if (path.isEmpty())
        return;
    try {
        WriteFileAtomically(path, NewTemplateSample(m_kind).toUtf8());
    } catch (const EKestrunError& error) {
        TMessageBox::Critical(window(), QStringLiteral("Neues Template"),
                              QStringLiteral("Das Template kann nicht angelegt werden:\n\n") + error.Message());
        return;
    }
    ui->edit_Template->setText(path);
    OpenEditor(path);
}

void TTemplateFrame::button_EditClick()
{
    if (TemplateExists())
        OpenEditor(ResolvedPath());
}
