#pragma once

#include "model/BaseAction.h"

/**
 * @brief Starts a program or script with the parameter results as its arguments.
 */
class TActionExecuteProgram : public TBaseAction
{
    Q_OBJECT
    Q_PROPERTY(QString ProgramPath MEMBER FProgramPath)
    Q_PROPERTY(bool WaitForTerminate MEMBER FWaitForTerminate)

public:
    TActionExecuteProgram();

    // May hold %NAME% references to environment variables.
    KESTRUN_FIELD(QString, ProgramPath)
    // Wait until the started program has ended.
    KESTRUN_FIELD(bool, WaitForTerminate, false)

    QString GetDescription() const override;
};
