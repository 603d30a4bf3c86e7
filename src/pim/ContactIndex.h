// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/ContactItems.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <memory>

/**
 * @brief The contacts of an address book with what lookups compare them by,
 * worked out once: every field in one letter case, every telephone number also
 * in the canonical form of the telephone system.
 *
 * A lookup is then a hash search instead of a comparison (and a conversion by
 * the softphone) per stored contact. Restrict finds exactly what
 * TContactItems::Restrict finds with the same conversion. Immutable once made,
 * so it may be shared between threads.
 */
class TContactIndex
{
public:
    // Converts each telephone number of the contacts once (empty ones not).
    TContactIndex(TContactItems contacts, const TCanonicalNumber& canonicalNumber);

    const TContactItems& Items() const { return m_items; }
    // How many stored numbers were converted while indexing.
    int ConvertedNumbers() const { return m_convertedNumbers; }

    /**
     * The contacts whose field named in the filter (`[Field] = "value"`) equals
     * the value ignoring letter case or, for a telephone field, whose canonical
     * number is wantedCanonical (when that is not empty); in the book's order.
     * Throws EKestrunError as TContactItems::Restrict.
     */
    TContactItems Restrict(const QString& filter, const QString& wantedCanonical) const;

private:
    using TPositions = QHash<QString, QList<int>>;

    TContactItems m_items;
    int m_convertedNumbers = 0;
    // Per field: the positions (from 0) of the contacts by their value in one letter case.
    std::array<TPositions, ContactPropertyCount> m_byValue;
    // Per telephone field: the positions by canonical number.
    std::array<TPositions, ContactPropertyCount> m_byCanonical;
};

/**
 * The index of the contacts folder at path, kept for the whole program and made
 * anew only when the folder's files changed since it was made
 * (TContactsFolder::Signature), or when it was made without the canonical
 * numbers that this call asks for. Safe to call from any thread; a call that finds
 * another one making the index waits for it. Throws EKestrunError as
 * TContactsFolder::Open; the conversion's errors pass through as well.
 */
std::shared_ptr<const TContactIndex> CachedContactIndex(const QString& path, const TCanonicalNumber& canonicalNumber);
