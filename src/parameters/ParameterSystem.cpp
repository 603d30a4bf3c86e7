#include "parameters/ParameterSystem.h"

TParameterSystem::TParameterSystem()
{
    SetCaptionAndIcon(QStringLiteral("System-Parameter"), u"computer");
}
