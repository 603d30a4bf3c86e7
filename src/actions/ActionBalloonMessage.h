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
};
