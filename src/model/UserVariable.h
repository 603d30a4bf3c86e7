// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/Property.h"

#include <QString>

// A named value that parameters of one call's rule run share (Custom0 ... and
// names chosen by the user). Names compare exactly, case-sensitive.
class TUserVariable
{
    KESTRUN_FIELD(QString, Name)
    KESTRUN_FIELD(QString, Value)

public:
    TUserVariable() = default;
    TUserVariable(const QString& name, const QString& value)
        : FName(name)
        , FValue(value)
    {
    }
};
