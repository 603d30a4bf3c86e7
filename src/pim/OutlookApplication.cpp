// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/OutlookApplication.h"

#include "pim/PimFolders.h"
#include "platform/KestrunError.h"

void TOutlookApplication::Connect()
{
    m_contacts = TContactsFolder::Open(PimFolderPath(TPimFolderKind::Contacts));
}

void TOutlookApplication::Disconnect()
{
    m_contacts.reset();
}

const TContactsFolder& TOutlookApplication::GetDefaultContactsFolder() const
{
    if (!m_contacts)
        throw EKestrunError(QStringLiteral("The contacts folder is asked for before the store is connected"));
    return *m_contacts;
}

TOutlookApplication GetOutlookApplication()
{
    return {};
}
