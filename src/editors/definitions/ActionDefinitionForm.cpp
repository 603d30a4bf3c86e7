// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ActionDefinitionForm.h"

#include "widgets/MessageBox.h"

#include "ui_ActionDefinitionForm.h"

#include <QLineEdit>

TActionDefinitionForm::TActionDefinitionForm(TBaseAction& action, QWidget* parent)
    : QDialog(parent)
    , m_action(action)
    , ui(std::make_unique<Ui::TActionDefinitionForm>())
{
    ui->setupUi(this);
    // The fields stand on a white panel, whatever the desktop's window colour.
    ui->panel_Content->setBackgroundRole(QPalette::Base);
    connect(ui->button_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TActionDefinitionForm::~TActionDefinitionForm() = default;

QPushButton* TActionDefinitionForm::OkButton() const
{
    return ui->button_OK;
}

QWidget* TActionDefinitionForm::Content() const
{
    return ui->panel_Content;
}

void TActionDefinitionForm::LimitText(QLineEdit* edit)
{
    edit->setMaxLength(MaxTextLength);
}

void TActionDefinitionForm::ValidateForm()
{
    ui->button_OK->setEnabled(IsComplete());
}

void TActionDefinitionForm::accept()
{
    // Enter reaches here through the default button even while it is being disabled.
    if (!IsComplete())
        return;
    if (const QList<TFieldProblem> problems = Problems(); !problems.isEmpty()) {
        QStringList lines;
        for (const TFieldProblem& problem : problems)
            lines << QStringLiteral("- ") + problem.Name;
        TMessageBox::Warning(this, windowTitle(),
                             QStringLiteral("Die folgenden Felder sind nicht sachgemäß ausgefüllt:\n\n") +
                                 lines.join(QLatin1Char('\n')));
        problems.first().Field->setFocus();
        return;
    }
    WriteFields();
    QDialog::accept();
}
