// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOutlookBase.h"

TActionOutlookBase::TActionOutlookBase()
{
    SetCaptionAndIcon(QStringLiteral("Orvix"), u"alternate_email");
}
