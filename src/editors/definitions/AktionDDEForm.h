// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

class TActionDDEMessage;

namespace Ui {
class TAktionDDEForm;
}

/**
 * @brief The dialog of a command to another application: the application's
 * service ("Anwendung:"), the topic ("Thema:") and the parameters whose values
 * make the command. Without a parameter there is no command to send.
 */
class TAktionDDEForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionDDEForm(TActionDDEMessage& action, const TActionFormContext& context, QWidget* parent = nullptr);
    ~TAktionDDEForm() override;

protected:
    bool IsComplete() const override;
    void WriteFields() override;

private:
    TActionDDEMessage& m_message;
    std::unique_ptr<Ui::TAktionDDEForm> ui;
};
