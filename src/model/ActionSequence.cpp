// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ActionSequence.h"

#include "model/BaseAction.h"

TActionSequence::TActionSequence() = default;

TBaseAction* TActionSequence::Action(int index) const
{
    return Item<TBaseAction>(index);
}
