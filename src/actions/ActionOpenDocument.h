// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"

/**
 * @brief Opens a document (or address) with the program the desktop associates with it.
 */
class TActionOpenDocument : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(QString DocPath READ DocPath WRITE SetDocPath)

public:
    TActionOpenDocument();

    KESTRUN_FIELD(QString, DocPath)

    QString GetDescription() const override;
    // Opens DocPath as it is written; a document the desktop cannot open makes the
    // action fail.
    void ExecuteAction(TActionContext& context) override;
};
