// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ActionOrvixCallControl.h"

/**
 * @brief Answers the call of its snapshot, or picks up a signalled group call.
 */
class TActionOrvixTakeCall : public TActionOrvixCallControl
{
    Q_OBJECT
public:
    TActionOrvixTakeCall();

protected:
    bool CanExecuteOnLine(const TOrvixLine& snapshot, TClientLineMgr& lineMgr) const override;
    void ActOnCall(TActionContext& context, TClientLineMgr& lineMgr) override;
};
