#include "parameters/ParameterVelquist.h"

TParameterVelquist::TParameterVelquist()
{
    SetCaptionAndIcon(QStringLiteral("Velquist-Parameter"), u"manage_search");
}
