// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseAction.h"

/**
 * @brief Starts a program or script with the parameter results as its arguments.
 */
class TActionExecuteProgram : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(QString ProgramPath READ ProgramPath WRITE SetProgramPath)
    Q_PROPERTY(bool WaitForTerminate READ WaitForTerminate WRITE SetWaitForTerminate)

public:
    TActionExecuteProgram();

    // May hold %NAME% references to environment variables.
    KESTRUN_FIELD(QString, ProgramPath)
    // Wait until the started program has ended.
    KESTRUN_FIELD(bool, WaitForTerminate, false)

    QString GetDescription() const override;
    // Starts the program detached, without a shell; a program that cannot start
    // makes the action fail, so that a following stopper can react.
    void ExecuteAction(TActionContext& context) override;
};
