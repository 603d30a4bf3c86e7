// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/OutlookApplication.h"

#include "pim/PimFolders.h"
#include "platform/KestrunError.h"

void TOutlookApplication::Connect(const TCanonicalNumber& canonicalNumber)
{
    m_contacts = CachedContactIndex(PimFolderPath(TPimFolderKind::Contacts), canonicalNumber);
}

void TOutlookApplication::Disconnect()
{
    m_contacts.reset();
}

const TContactIndex& TOutlookApplication::GetDefaultContactsFolder() const
{
    if (!m_contacts)
        throw EKestrunError(QStringLiteral("The contacts folder is asked for before the store is connected"));
    return *m_contacts;
}

TOutlookApplication GetOutlookApplication()
{
    return {};
}
