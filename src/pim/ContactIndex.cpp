// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactIndex.h"

#include "pim/ContactFilter.h"
#include "pim/ContactsFolder.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QStringList>

#include <algorithm>
#include <mutex>
#include <utility>

namespace {

QString Folded(const QString& value)
{
    return value.toCaseFolded();
}

} // namespace

TContactIndex::TContactIndex(TContactItems contacts, const TCanonicalNumber& canonicalNumber)
    : m_items(std::move(contacts))
{
    for (int position = 0; position < m_items.Count(); ++position) {
        const TContactItem& contact = m_items.Item(position + 1);
        for (int field = 0; field < ContactPropertyCount; ++field) {
            const QString& value = contact.Property(TContactProperty(field));
            m_byValue[field][Folded(value)].append(position);
            if (value.isEmpty() || !canonicalNumber || !IsTelephoneProperty(TContactProperty(field)))
                continue;
            const QString canonical = canonicalNumber(value);
            ++m_convertedNumbers;
            if (!canonical.isEmpty())
                m_byCanonical[field][canonical].append(position);
        }
    }
}

TContactItems TContactIndex::Restrict(const QString& filter, const QString& wantedCanonical) const
{
    const TContactFilter restriction = TContactFilter::Parse(filter);
    const std::optional<TContactProperty> property = ContactPropertyFromName(restriction.Field);
    if (!property)
        // The collection names the fields it knows.
        return m_items.Restrict(filter);

    const auto field = std::size_t(*property);
    QList<int> positions = m_byValue[field].value(Folded(restriction.Value));
    if (!wantedCanonical.isEmpty() && IsTelephoneProperty(*property)) {
        positions.append(m_byCanonical[field].value(wantedCanonical));
        std::sort(positions.begin(), positions.end());
        positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    }
    QList<TContactItem> found;
    found.reserve(positions.size());
    for (const int position : std::as_const(positions))
        found.append(m_items.Item(position + 1));
    return TContactItems(std::move(found));
}

std::shared_ptr<const TContactIndex> CachedContactIndex(const QString& path, const TCanonicalNumber& canonicalNumber)
{
    struct TCache
    {
        std::mutex mutex;
        QString signature;
        std::shared_ptr<const TContactIndex> index;
        // The index holds canonical numbers; one made without has to be made anew
        // for a lookup that compares them.
        bool converted = false;
    };
    static TCache cache;

    // One at a time: a second lookup while the index is made takes that index.
    const std::lock_guard lock(cache.mutex);
    QString signature = TContactsFolder::Signature(path);
    if (cache.index && signature == cache.signature && (cache.converted || !canonicalNumber))
        return cache.index;
    Trace::Value("ContactIndex::CachedContactIndex:Contacts folder changed, indexing", path);
    auto index = std::make_shared<const TContactIndex>(TContactsFolder::Open(path).Items(), canonicalNumber);
    Trace::Value("ContactIndex::CachedContactIndex:Contacts indexed", index->Items().Count());
    Trace::Value("ContactIndex::CachedContactIndex:Telephone numbers converted", index->ConvertedNumbers());
    cache.signature = std::move(signature);
    cache.index = index;
    cache.converted = bool(canonicalNumber);
    return index;
}
