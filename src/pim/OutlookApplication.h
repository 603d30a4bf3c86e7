// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/ContactsFolder.h"

#include <optional>

/**
 * @brief The program's way into the user's personal-information store: connect,
 * take the default contacts folder, disconnect.
 *
 * Connect opens the store and reads the contacts folder; what it read is held
 * until Disconnect, which the destructor does as well, so no lookup leaves the
 * store open behind it.
 */
class TOutlookApplication
{
public:
    // Opens the store at the contacts folder the settings name (PimFolderPath).
    // Throws EKestrunError naming the folder when it is missing or cannot be read.
    void Connect();
    // Releases what Connect opened; nothing to do when not connected.
    void Disconnect();
    bool IsConnected() const { return m_contacts.has_value(); }

    // The default contacts folder of the connected store; throws EKestrunError when not connected.
    const TContactsFolder& GetDefaultContactsFolder() const;

private:
    std::optional<TContactsFolder> m_contacts;
};

// A new application object, not yet connected.
TOutlookApplication GetOutlookApplication();
