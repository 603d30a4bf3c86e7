// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

/**
 * @brief Answers of the directory server kept for repeat callers.
 *
 * Keyed by the search (key, field and node): a found record is kept for the
 * configured time (default 7 days), "not found" for 10 minutes only. Lookups
 * are answered from memory, so they never wait on the disk; what is stored goes
 * to the history's database in the background (TCallHistory) and comes back
 * from it at the next start. Safe to use from any thread.
 */
class TLookupCache
{
public:
    using TFields = QMap<QString, QString>;
    static constexpr qint64 DefaultLifetimeSeconds = qint64 {7} * 24 * 3600;
    static constexpr qint64 NotFoundLifetimeSeconds = qint64 {10} * 60;

    struct TEntry
    {
        TFields fields; // empty: the server found nothing
        QDateTime fetched;
    };

    struct TAnswer
    {
        TFields fields;
        bool expired = false;
        qint64 ageSeconds = 0;
    };

    // Told of every entry stored, to keep it (the history's database).
    using TStore = std::function<void(const QString& key, const TEntry& entry)>;

    explicit TLookupCache(qint64 lifetimeSeconds = DefaultLifetimeSeconds);

    static QString Key(const QString& searchKey, const QString& searchField, const QString& searchNode);

    // The entry of the key, expired or not; nothing when there is none.
    std::optional<TAnswer> Find(const QString& key) const;
    void Store(const QString& key, const TFields& fields);
    // Entries read back from the database: only ones newer than those in memory count.
    void Restore(const QString& key, const TEntry& entry);
    // The fields last found for a search key, whatever field set was asked; for the history.
    TFields LatestFound(const QString& searchKey) const;

    void SetStore(TStore store);
    // Tests move time on.
    void SetClock(std::function<QDateTime()> clock);
    qint64 LifetimeSeconds() const { return m_lifetimeSeconds; }

    // The cache the directory lookups use; null when there is none (no history database).
    static std::shared_ptr<TLookupCache> InUse();
    static void SetInUse(std::shared_ptr<TLookupCache> cache);

private:
    QDateTime Now() const;

    const qint64 m_lifetimeSeconds;
    mutable std::mutex m_mutex;
    std::unordered_map<QString, TEntry> m_entries;
    std::unordered_map<QString, QString> m_latestKeyBySearchKey;
    TStore m_store;
    std::function<QDateTime()> m_clock;
};
