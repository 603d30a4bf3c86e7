// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseParameter.h"

/**
 * @brief A fixed text, or the value of a user variable of the call.
 */
class TParameterUser : public TBaseParameter
{
    Q_OBJECT
    Q_PROPERTY(bool IsVariable READ IsVariable WRITE SetIsVariable)

public:
    TParameterUser();

    // False: ParameterValue is a fixed text; true: the name of a user variable.
    KESTRUN_FIELD(bool, IsVariable, false)

    QString GetDescription() const override;
    // The fixed text with its %NAME% references expanded (it comes from the
    // configuration), or the value of the call's user variable of exactly that
    // name as it is (empty when the call has none): it may hold what a caller sent.
    QString GetParamResult(TActionContext& context) override;
};
