// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ActionContext.h"
#include "model/BaseParameter.h"

#include <QString>

// What one resolution of a parameter gave.
struct Resolution
{
    QString result;
    bool cancelled = false;
};

// Resolves the parameter as one run of its action does, on the line object the
// parameter was given (null when it has none).
inline Resolution Resolve(TBaseParameter& parameter)
{
    TActionContext context(parameter.OrvixLine());
    Resolution resolution;
    resolution.result = parameter.GetParamResult(context);
    resolution.cancelled = context.CancelAction();
    return resolution;
}
