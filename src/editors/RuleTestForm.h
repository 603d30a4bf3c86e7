// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QMap>

#include <memory>

namespace Ui {
class TRuleTestForm;
}

class TParameters;
class TRule;

/**
 * @brief "Test der Regel": runs one rule's sequences with call data the user
 * types in, whatever the rule's conditions.
 *
 * The run gets a line object of its own in test mode, with a line manager that
 * is never connected, and runs a copy of the rule: a real call that runs the
 * same rule meanwhile has its own snapshot and never meets the test's. The
 * windows the test opens share that line object and keep it as long as they
 * show it. The form keeps the model it came from alive, whose sequences the
 * test runs.
 *
 * "Testen" runs the test and closes with Accepted; "Schließen" closes with Rejected.
 */
class TRuleTestForm : public QDialog
{
    Q_OBJECT

public:
    // Throws EKestrunError when the model holds no rule with ruleID.
    TRuleTestForm(std::shared_ptr<const TParameters> model, const QString& ruleID, QWidget* parent = nullptr);
    ~TRuleTestForm() override;

    // The line fields the test fills, each from the field of the same name.
    static const QStringList LineFields;

    // Fills fields named in LineFields with the values given (a call of the history); others stay.
    void SetLineValues(const QMap<QString, QString>& values);

private:
    void button_TestClick();

    std::unique_ptr<Ui::TRuleTestForm> ui;
    std::shared_ptr<const TParameters> m_model;
    const TRule* m_rule;
};
