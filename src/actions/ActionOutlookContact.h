// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"

/**
 * @brief A contact item action; it carries the template fields of the item actions but
 * creates nothing when run: it only says so in the trace.
 */
class TActionOutlookContact : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(QString Template READ Template WRITE SetTemplate)
    Q_PROPERTY(bool TemplateActive READ TemplateActive WRITE SetTemplateActive)

public:
    TActionOutlookContact();

    KESTRUN_FIELD(QString, Template)
    KESTRUN_FIELD(bool, TemplateActive, false)

    // Neither resolves parameters nor changes how the sequence's last action went.
    void ExecuteAction(TActionContext& context) override;
};
