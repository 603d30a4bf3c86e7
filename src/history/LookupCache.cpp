// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/LookupCache.h"

namespace {

std::mutex InUseMutex;
std::shared_ptr<TLookupCache> CacheInUse;

QString SearchKeyOf(const QString& key)
{
    return key.section(QChar(0x1f), 0, 0);
}

} // namespace

TLookupCache::TLookupCache(qint64 lifetimeSeconds)
    : m_lifetimeSeconds(lifetimeSeconds)
{
}

QString TLookupCache::Key(const QString& searchKey, const QString& searchField, const QString& searchNode)
{
    // A separator no search text holds: the unit separator.
    return searchKey + QChar(0x1f) + searchField.toLower() + QChar(0x1f) + searchNode;
}

std::optional<TLookupCache::TAnswer> TLookupCache::Find(const QString& key) const
{
    const QDateTime now = Now();
    const std::lock_guard lock(m_mutex);
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return std::nullopt;
    const TEntry& entry = found->second;
    const qint64 lifetime = entry.fields.isEmpty() ? NotFoundLifetimeSeconds : m_lifetimeSeconds;
    const qint64 age = entry.fetched.secsTo(now);
    return TAnswer {.fields = entry.fields, .expired = age >= lifetime, .ageSeconds = age};
}

void TLookupCache::Store(const QString& key, const TFields& fields)
{
    const TEntry entry {.fields = fields, .fetched = Now()};
    TStore store;
    {
        const std::lock_guard lock(m_mutex);
        m_entries[key] = entry;
        if (!fields.isEmpty())
            m_latestKeyBySearchKey[SearchKeyOf(key)] = key;
        store = m_store;
    }
    if (store)
        store(key, entry);
}

void TLookupCache::Restore(const QString& key, const TEntry& entry)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_entries.find(key);
    if (found != m_entries.end() && found->second.fetched >= entry.fetched)
        return;
    m_entries[key] = entry;
    if (!entry.fields.isEmpty()) {
        QString& latest = m_latestKeyBySearchKey[SearchKeyOf(key)];
        const auto current = m_entries.find(latest);
        if (latest.isEmpty() || current == m_entries.end() || current->second.fetched <= entry.fetched)
            latest = key;
    }
}

TLookupCache::TFields TLookupCache::LatestFound(const QString& searchKey) const
{
    const std::lock_guard lock(m_mutex);
    const auto latest = m_latestKeyBySearchKey.find(searchKey);
    if (latest == m_latestKeyBySearchKey.end())
        return {};
    const auto entry = m_entries.find(latest->second);
    return entry != m_entries.end() ? entry->second.fields : TFields();
}

void TLookupCache::SetStore(TStore store)
{
    const std::lock_guard lock(m_mutex);
    m_store = std::move(store);
}

void TLookupCache::SetClock(std::function<QDateTime()> clock)
{
    const std::lock_guard lock(m_mutex);
    m_clock = std::move(clock);
}

QDateTime TLookupCache::Now() const
{
    std::function<QDateTime()> clock;
    {
        const std::lock_guard lock(m_mutex);
        clock = m_clock;
    }
    // In UTC: the local time's zone look-up would cost more than the whole lookup.
    return clock ? clock() : QDateTime::currentDateTimeUtc();
}

std::shared_ptr<TLookupCache> TLookupCache::InUse()
{
    const std::lock_guard lock(InUseMutex);
    return CacheInUse;
}

void TLookupCache::SetInUse(std::shared_ptr<TLookupCache> cache)
{
    const std::lock_guard lock(InUseMutex);
    CacheInUse = std::move(cache);
}
