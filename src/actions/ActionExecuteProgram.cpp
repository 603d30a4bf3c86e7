// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionExecuteProgram.h"

#include "actions/ActionKinds.h"

#include "actions/ProgramCommandLine.h"
#include "platform/Environment.h"
#include "platform/ProcessStart.h"
#include "trace/Trace.h"

TActionExecuteProgram::TActionExecuteProgram()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TActionExecuteProgram::GetDescription() const
{
    return QStringLiteral("Starte: ") + FProgramPath;
}

void TActionExecuteProgram::ExecuteAction(TActionContext& context)
{
    TBaseAction::ExecuteAction(context);
    if (context.CancelAction())
        return;

    const QString path = ExpandEnvironmentReferences(FProgramPath);
    const TProgramArguments arguments(context.ParamResultList());
    Trace::Value("ActionExecuteProgram::ExecuteAction:Program path", path);
    Trace::Value("ActionExecuteProgram::ExecuteAction:Command line parameters", arguments.Text());
    Trace::Value("ActionExecuteProgram::ExecuteAction:Wait for terminate", FWaitForTerminate);

    const TProgramCommandLine commandLine = BuildProgramCommandLine(path, arguments);
    Trace::Value("ActionExecuteProgram::ExecuteAction:Command line", commandLine.Text);
    if (commandLine.RunsScript && !IsProgramInstalled(commandLine.Program)) {
        Trace::Error("ActionExecuteProgram::ExecuteAction:Script interpreter not installed", commandLine.Program);
        context.SetActionSuccessfull(false);
        return;
    }
    Trace::Message("ActionExecuteProgram::ExecuteAction:Creating process");
    QString error;
    const auto pid = StartDetachedProcess(commandLine.Program, commandLine.Arguments, &error);
    if (!pid) {
        Trace::Error("ActionExecuteProgram::ExecuteAction:Error creating process", error);
        context.SetActionSuccessfull(false);
        return;
    }
    Trace::Message("ActionExecuteProgram::ExecuteAction:Process started successfully");
    if (FWaitForTerminate) {
        Trace::Message("ActionExecuteProgram::ExecuteAction:Waiting for process to finish...");
        WaitForProcessEnd(*pid);
    }
}
