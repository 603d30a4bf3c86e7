// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

#include <functional>

namespace Ui {
class TAktionProgDocForm;
}

/**
 * @brief The dialog of a program to start or a document to open: the path, for
 * a program whether to wait for its end, and the parameters given to it.
 *
 * A path that is not found is shown as such but may be confirmed: it may exist
 * on the computers the rules go to, or only once a drive is mounted.
 */
class TAktionProgDocForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionProgDocForm(TBaseAction& action, const TActionFormContext& context, QWidget* parent = nullptr);
    ~TAktionProgDocForm() override;

    // Asks for the path, given the current one; empty when the user cancels. Replaceable for tests.
    std::function<QString(QWidget* parent, const QString& current)> ChoosePath;

protected:
    bool IsComplete() const override;
    void WriteFields() override;

private:
    void CheckPath();
    void button_ChooseClick();

    std::unique_ptr<Ui::TAktionProgDocForm> ui;
};
