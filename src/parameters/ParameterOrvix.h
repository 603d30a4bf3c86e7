// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseParameter.h"

/**
 * @brief A datum of the current call; ParameterValue names it (for example "orvixCallerNumber").
 */
class TParameterOrvix : public TBaseParameter
{
    Q_OBJECT
public:
    TParameterOrvix();

    QString GetDescription() const override;
    QString GetParamResult(TActionContext& context) override;
};
