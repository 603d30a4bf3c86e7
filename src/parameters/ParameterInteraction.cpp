#include "parameters/ParameterInteraction.h"

TParameterInteraction::TParameterInteraction()
{
    SetCaptionAndIcon(QStringLiteral("Interaktion"), u"keyboard");
}
