#include "parameters/ParameterOutlookAddressbook.h"

TParameterOutlookAddressbook::TParameterOutlookAddressbook()
{
    SetCaptionAndIcon(QStringLiteral("Outlook-Parameter"), u"import_contacts");
}
