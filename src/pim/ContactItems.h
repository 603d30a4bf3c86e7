// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/ContactItem.h"

#include <QList>
#include <QString>

#include <functional>

// Turns a telephone number into the canonical form of the caller's telephone
// system ("030 1234" -> "+49301234"); empty where it has none.
using TCanonicalNumber = std::function<QString(const QString&)>;

/**
 * @brief A collection of contacts, in the folder's order: by file name, then by
 * position in the file. Positions count from 1, as in the collections of the
 * automation interface.
 */
class TContactItems
{
public:
    TContactItems() = default;
    explicit TContactItems(QList<TContactItem> items);

    int Count() const { return int(m_items.size()); }
    // Throws EKestrunError for an index outside 1..Count().
    const TContactItem& Item(int index) const;

    /**
     * The contacts whose property named in the filter (`[Field] = "value"`, see
     * TContactFilter) equals the value, in this collection's order. Texts compare
     * ignoring letter case; telephone numbers match when they are equal or, with
     * a canonicalNumber given, when their canonical forms are equal and not empty.
     * Throws EKestrunError for a filter not of that form or a field that names no
     * contact property.
     */
    TContactItems Restrict(const QString& filter, const TCanonicalNumber& canonicalNumber = {}) const;

private:
    QList<TContactItem> m_items;
};
