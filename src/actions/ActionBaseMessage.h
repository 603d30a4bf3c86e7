// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/MessageWindowRequest.h"
#include "model/BaseAction.h"

#include <QStringList>

/**
 * @brief Common base of the actions that open a notification window: its
 * time-out and the action sequences it offers as buttons.
 */
class TActionBaseMessage : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(bool TimeOut READ TimeOut WRITE SetTimeOut)
    Q_PROPERTY(int TimeOutSec READ TimeOutSec WRITE SetTimeOutSec)
    Q_PROPERTY(QStringList AssociatedActionSequences READ AssociatedActionSequences WRITE SetAssociatedActionSequences)

public:
    TActionBaseMessage();

    // The window fades out by itself TimeOutSec seconds after showing (or after the mouse left it).
    KESTRUN_FIELD(bool, TimeOut, false)
    KESTRUN_FIELD(int, TimeOutSec, 5)
    // IDs of the action sequences offered as buttons, in button order.
    KESTRUN_FIELD(QStringList, ActionSequencesIDs)

    const QStringList& AssociatedActionSequences() const { return FActionSequencesIDs; }
    void SetAssociatedActionSequences(const QStringList& ids) { SetActionSequencesIDs(ids); }

    // What the window of one run of this action shows: the action's settings as
    // copies, the run's snapshot and results. A time-out the timer cannot hold
    // is clamped; a negative one (a file without it) means the default.
    virtual TMessageWindowRequest WindowRequest(const TActionContext& context) const;
};
