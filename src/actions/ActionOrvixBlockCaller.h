// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"

/**
 * @brief Blocks the caller of its snapshot: the number goes into the rule
 * "Gesperrte Nummern", which ends the caller's next calls while they ring.
 *
 * Offered as a notification's button ("Sperren") for an incoming call. The
 * number is the caller's, so it is blocked only when it matches that number
 * alone as a pattern; any other is refused and traced. It does not end the
 * call that rings now: a sequence that should do so lists "Ruf beenden" after it.
 */
class TActionOrvixBlockCaller : public TBaseAction
{
    Q_OBJECT
public:
    TActionOrvixBlockCaller();

    void ExecuteAction(TActionContext& context) override;

protected:
    bool CanExecuteProvider(const TOrvixLine& line) const override;
};
