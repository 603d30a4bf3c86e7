#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TRuleNameForm;
}

/**
 * @brief "Name der Regel": asks for a rule's name, at most 150 characters.
 *
 * "OK" can be pressed only while the name holds more than blanks; Name() is the
 * text as entered, blanks included.
 */
class TRuleNameForm : public QDialog
{
    Q_OBJECT

public:
    explicit TRuleNameForm(const QString& name, QWidget* parent = nullptr);
    ~TRuleNameForm() override;

    QString Name() const;

private:
    void ValidateForm();

    std::unique_ptr<Ui::TRuleNameForm> ui;
};
