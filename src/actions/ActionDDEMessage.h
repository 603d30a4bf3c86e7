// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"

/**
 * @brief Sends the parameter results as a command to another running application
 * (service and topic name the receiver).
 *
 * The command travels over the session bus (TCommandChannel): the service is a
 * bus name, the topic an object path. A receiver that cannot be reached or does
 * not take the command makes the action unsuccessful, so that a stopper after it
 * can react.
 */
class TActionDDEMessage : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(QString DDEService READ DDEService WRITE SetDDEService)
    Q_PROPERTY(QString DDETopic READ DDETopic WRITE SetDDETopic)

public:
    TActionDDEMessage();

    KESTRUN_FIELD(QString, DDEService)
    KESTRUN_FIELD(QString, DDETopic)

    QString GetDescription() const override;
    void ExecuteAction(TActionContext& context) override;
};
