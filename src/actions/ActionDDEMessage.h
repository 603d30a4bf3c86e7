#pragma once

#include "model/BaseAction.h"

/**
 * @brief Sends the parameter results as a command to another running application
 * (service and topic name the receiver).
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
};
