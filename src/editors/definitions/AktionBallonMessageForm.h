// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/definitions/ActionDefinitionForm.h"

class TActionBalloonMessage;

namespace Ui {
class TAktionBallonMessageForm;
}

/**
 * @brief The dialog of the standard notification: the message's caption,
 * buttons and time-out, and the parameters whose values it shows as rows.
 */
class TAktionBallonMessageForm : public TActionDefinitionForm
{
    Q_OBJECT

public:
    TAktionBallonMessageForm(TActionBalloonMessage& action, const TActionFormContext& context,
                             QWidget* parent = nullptr);
    ~TAktionBallonMessageForm() override;

protected:
    bool IsComplete() const override;
    void WriteFields() override;

private:
    TActionBalloonMessage& m_message;
    std::unique_ptr<Ui::TAktionBallonMessageForm> ui;
};
