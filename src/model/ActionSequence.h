// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseList.h"
#include "model/RunOutcome.h"

class TBaseAction;

/**
 * @brief A named, ordered list of actions with an icon; rules link to it and
 * notification windows offer it as a button. Owns its actions.
 */
class TActionSequence : public TBaseList
{
    Q_OBJECT
    Q_PROPERTY(int IconIndex READ IconIndex WRITE SetIconIndex)

public:
    TActionSequence();

    // Position in the program's icon list.
    KESTRUN_FIELD(int, IconIndex, 0)

    TBaseAction* Action(int index) const;

    // Runs the actions in order on the call snapshot given, each with a context
    // of its own; stoppers skip actions or end the sequence, a cancelled action ends it.
    // An action that throws ends the sequence; the exception is passed on.
    TRunOutcome ExecuteActions(const std::shared_ptr<TOrvixLine>& line);
};
