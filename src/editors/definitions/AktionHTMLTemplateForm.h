// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

class TActionHTMLMessage;

namespace Ui {
class TAktionHTMLTemplateForm;
}

/**
 * @brief The dialog of the HTML notification: what the standard notification
 * has, and the page it shows (a template, or a web server's page, which wins),
 * the window's size and whether it is made ready at the program's start.
 *
 * The parameters are edited here as well as in the template: a tag in the
 * template stands for one of them, and the editor offers them for insertion.
 */
class TAktionHTMLTemplateForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionHTMLTemplateForm(TActionHTMLMessage& action, const TActionFormContext& context, QWidget* parent = nullptr);
    ~TAktionHTMLTemplateForm() override;

protected:
    bool IsComplete() const override;
    void WriteFields() override;

private:
    void UpdateEnabling();

    TActionHTMLMessage& m_message;
    std::unique_ptr<Ui::TAktionHTMLTemplateForm> ui;
};
