// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TNameForm;
}

/**
 * @brief Asks for the name of a rule or an action sequence: one field of at
 * most 150 characters, "OK" (enabled only while the name holds more than blanks)
 * and "Abbrechen". Name() is the text as entered.
 */
class TNameForm : public QDialog
{
    Q_OBJECT

public:
    // The longest name a rule or sequence can have, in every dialog that edits one.
    static constexpr int MaxNameLength = 150;

    TNameForm(const QString& caption, const QString& label, const QString& name, QWidget* parent = nullptr);
    ~TNameForm() override;

    QString Name() const;

private:
    void ValidateForm();

    std::unique_ptr<Ui::TNameForm> ui;
};

// "Name der Regel".
class TRuleNameForm : public TNameForm
{
    Q_OBJECT

public:
    explicit TRuleNameForm(const QString& name, QWidget* parent = nullptr);
};

// "Name der Aktionsfolge".
class TActionSequencesNameForm : public TNameForm
{
    Q_OBJECT

public:
    explicit TActionSequencesNameForm(const QString& name, QWidget* parent = nullptr);
};
