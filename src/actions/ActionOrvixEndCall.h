// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ActionOrvixCallControl.h"

/**
 * @brief Ends the call of its snapshot while it is dialled or connected.
 */
class TActionOrvixEndCall : public TActionOrvixCallControl
{
    Q_OBJECT
public:
    TActionOrvixEndCall();

protected:
    bool CanExecuteOnLine(const TOrvixLine& snapshot, TClientLineMgr& lineMgr) const override;
    void ActOnCall(TActionContext& context, TClientLineMgr& lineMgr) override;
};
