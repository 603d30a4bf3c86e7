// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pim/ContactItems.h"

#include <QString>

// `[field] = "value"` with the value as it is; the collections take it literally.
QString BuildRestrictString(const QString& field, const QString& value);

// The name of the contact field with that number (0 "FirstName" ... 9
// "BusinessTelephoneNumber"); empty outside 0 to 9.
QString GetAddressbookFieldNameFromIndex(int index);

/**
 * The contacts of the default contacts folder whose field equals the search
 * value (blanks around it removed), as TContactItems::Restrict compares. The
 * folder's numbers are converted once per change of the folder, the search
 * value once per search (CachedContactIndex); blocking, so lookups made while
 * calls come in run it off the main thread. The
 * field "All" (exactly so) tries the fields in their numbered order and gives
 * the first non-empty result. An empty search value gives nothing without
 * opening the store. The store is connected for this search only; its errors
 * (a missing contacts folder, a field that names no contact property) are
 * thrown as EKestrunError.
 */
TContactItems SearchContact(const QString& searchValue, const QString& field, const TCanonicalNumber& canonicalNumber);
