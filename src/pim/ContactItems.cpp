// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactItems.h"

#include "pim/ContactFilter.h"
#include "platform/KestrunError.h"

#include <QStringList>

#include <utility>

namespace {

QString KnownPropertyNames()
{
    QStringList names;
    for (int index = 0; index < ContactPropertyCount; ++index)
        names.append(ContactPropertyName(TContactProperty(index)));
    return names.join(QStringLiteral(", "));
}

} // namespace

TContactItems::TContactItems(QList<TContactItem> items)
    : m_items(std::move(items))
{
}

const TContactItem& TContactItems::Item(int index) const
{
    if (index < 1 || index > Count())
        throw EKestrunError(QStringLiteral("There is no contact %1 in a collection of %2").arg(index).arg(Count()));
    return m_items[index - 1];
}

TContactItems TContactItems::Restrict(const QString& filter, const TCanonicalNumber& canonicalNumber) const
{
    const TContactFilter restriction = TContactFilter::Parse(filter);
    const std::optional<TContactProperty> property = ContactPropertyFromName(restriction.Field);
    if (!property)
        throw EKestrunError(QStringLiteral("The contact filter %1 names no contact field; the fields are %2")
                                .arg(filter, KnownPropertyNames()));

    const bool canonical = canonicalNumber && IsTelephoneProperty(*property);
    const QString wantedCanonical = canonical ? canonicalNumber(restriction.Value) : QString();
    QList<TContactItem> matches;
    for (const TContactItem& contact : m_items) {
        const QString& value = contact.Property(*property);
        if (value.isEmpty() && !restriction.Value.isEmpty())
            continue;
        bool match = value.compare(restriction.Value, Qt::CaseInsensitive) == 0;
        if (!match && canonical && !wantedCanonical.isEmpty())
            match = canonicalNumber(value) == wantedCanonical;
        if (match)
            matches.append(contact);
    }
    return TContactItems(std::move(matches));
}
