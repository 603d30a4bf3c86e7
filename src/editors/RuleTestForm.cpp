// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/RuleTestForm.h"

#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "platform/KestrunError.h"
#include "rulesfile/Parameters.h"
#include "telephony/ClientLineMgr.h"
#include "trace/Trace.h"
#include "widgets/MessageBox.h"
#include "widgets/RunReport.h"

#include "ui_RuleTestForm.h"

const QStringList TRuleTestForm::LineFields = {
    QStringLiteral("CalledExtension"),
    QStringLiteral("CalledNumber"),
    QStringLiteral("CallerName"),
    QStringLiteral("CallerNumber"),
    QStringLiteral("IncomingExtension"),
    QStringLiteral("NotificationCalledExtension"),
    QStringLiteral("NotificationCalledName"),
    QStringLiteral("NotificationCallerName"),
    QStringLiteral("NotificationCallerNumber"),
    QStringLiteral("NotificationCallRedirectedFromName"),
    QStringLiteral("NotificationCallRedirectedFromNumber"),
    QStringLiteral("OutgoingExtension"),
};

TRuleTestForm::TRuleTestForm(std::shared_ptr<const TParameters> model, const QString& ruleID, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TRuleTestForm>())
    , m_model(std::move(model))
    , m_rule(m_model ? qobject_cast<const TRule*>(m_model->Rules().GetObjectByID(ruleID)) : nullptr)
{
    if (!m_rule)
        throw EKestrunError(QStringLiteral("The rule test was opened for rule %1, which the model lacks.").arg(ruleID));
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Test der Regel: ") + m_rule->Name());
    connect(ui->button_Test, &QPushButton::clicked, this, &TRuleTestForm::button_TestClick);
    connect(ui->button_Close, &QPushButton::clicked, this, &QDialog::reject);
}

TRuleTestForm::~TRuleTestForm() = default;

void TRuleTestForm::SetLineValues(const QMap<QString, QString>& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (LineFields.contains(it.key()))
            findChild<QLineEdit*>(it.key())->setText(it.value());
    }
}

void TRuleTestForm::button_TestClick()
{
    // The line manager is never connected: in test mode nothing reaches the softphone.
    auto line = std::make_shared<TOrvixLine>();
    line->SetClientLineMgr(std::make_shared<TClientLineMgr>());
    for (const QString& field : LineFields)
        line->setProperty(field.toLatin1().constData(), findChild<QLineEdit*>(field)->text());
    line->SetIsTestMode(true);

    TRule rule;
    rule.Assign(m_rule);
    rule.SetOrvixLine(line);
    // What ends a real call's run in the trace alone; the user here waits for the
    // outcome, and the dialog closes to make room for the rule's windows.
    const QString run = QStringLiteral("Der Test der Regel");
    try {
        const TRunOutcome outcome = rule.ExecuteRule(line);
        if (!ReportRunFailures(parentWidget(), windowTitle(), run, outcome) && outcome.ActionsRun == 0)
            TMessageBox::Notice(parentWidget(), windowTitle(),
                                QStringLiteral("Der Test der Regel ist beendet; sie hat keine Aktion ausgeführt. "
                                               "Verknüpfen Sie die Regel mit einer Aktionsfolge, die Aktionen "
                                               "enthält."));
    } catch (const std::exception& error) {
        Trace::Exception("RuleTest::button_TestClick", error);
        ReportRunError(parentWidget(), windowTitle(), run, QString::fromUtf8(error.what()));
    }
    accept();
}
