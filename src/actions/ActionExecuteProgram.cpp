#include "actions/ActionExecuteProgram.h"

TActionExecuteProgram::TActionExecuteProgram()
{
    SetCaptionAndIcon(QStringLiteral("Program starten"), u"terminal");
}

QString TActionExecuteProgram::GetDescription() const
{
    return QStringLiteral("Starte: ") + FProgramPath;
}
