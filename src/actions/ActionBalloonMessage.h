// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ActionBaseMessage.h"

/**
 * @brief Shows the parameter results as rows of alias and value in a notification window.
 */
class TActionBalloonMessage : public TActionBaseMessage
{
    Q_OBJECT
public:
    TActionBalloonMessage();

    QString GetDescription() const override;
    // Shows the parameter results, unless every one is empty: then the action
    // cancels itself and the rest of its sequence.
    void ExecuteAction(TActionContext& context) override;
    TMessageWindowRequest WindowRequest(const TActionContext& context) const override;
};
