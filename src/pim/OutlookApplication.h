// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/ContactIndex.h"

#include <memory>

/**
 * @brief The program's way into the user's personal-information store: connect,
 * take the default contacts folder, disconnect.
 *
 * Connect opens the store at the contacts folder, whose index is kept for the
 * whole program and read anew only when the folder changed (CachedContactIndex);
 * it is held until Disconnect, which the destructor does as well.
 */
class TOutlookApplication
{
public:
    // Opens the store at the contacts folder the settings name (PimFolderPath),
    // with the telephone numbers also in canonical form when canonicalNumber is
    // given. Throws EKestrunError naming the folder when it is missing or cannot be read.
    void Connect(const TCanonicalNumber& canonicalNumber = {});
    // Releases what Connect opened; nothing to do when not connected.
    void Disconnect();
    bool IsConnected() const { return m_contacts != nullptr; }

    // The default contacts folder of the connected store; throws EKestrunError when not connected.
    const TContactIndex& GetDefaultContactsFolder() const;

private:
    std::shared_ptr<const TContactIndex> m_contacts;
};

// A new application object, not yet connected.
TOutlookApplication GetOutlookApplication();
