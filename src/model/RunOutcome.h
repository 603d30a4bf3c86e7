// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

/**
 * @brief What a run of a rule or sequence did, for whoever watches it run (the
 * rule test, a notification's button): calls' runs tell only the trace.
 */
struct TRunOutcome
{
    int ActionsRun = 0;
    // The captions of the actions that failed, in the order they ran.
    QStringList FailedActions;

    TRunOutcome& operator+=(const TRunOutcome& other)
    {
        ActionsRun += other.ActionsRun;
        FailedActions += other.FailedActions;
        return *this;
    }
};
