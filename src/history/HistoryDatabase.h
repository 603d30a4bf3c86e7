// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/CallRecord.h"
#include "history/HistoryFilter.h"
#include "history/LookupCache.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

/**
 * @brief The SQLite file that keeps the call history (and the directory-lookup cache).
 *
 * Used from one thread at a time: the history's worker thread, or a test. The
 * folder is made private to the user (0700) and the file 0600. A file that is
 * not a sound database is moved aside ("<file>.damaged-<yyyyMMdd-HHmmss>") and a
 * fresh one made; a file written by a newer schema is left alone and refused.
 * Failures throw EKestrunError.
 */
class THistoryDatabase
{
public:
    static constexpr int SchemaVersion = 2;

    // connectionName: unique per open database in the process (Qt SQL's connection registry).
    THistoryDatabase(const QString& path, const QString& connectionName);
    ~THistoryDatabase();
    THistoryDatabase(const THistoryDatabase&) = delete;
    THistoryDatabase& operator=(const THistoryDatabase&) = delete;

    const QString& Path() const { return m_path; }
    // Where a damaged file was moved to when it was opened; empty when it was sound.
    const QString& KeptAside() const { return m_keptAside; }

    // All rows in one transaction; the records get their ids.
    void Insert(std::vector<TCallRecord>& records);
    // Keeps the newest maxCalls calls.
    void Prune(qint64 maxCalls);
    std::vector<TCallRecord> Query(const THistoryFilter& filter) const;
    qint64 Count() const;
    int UnseenMissedCount() const;
    void MarkMissedSeen();
    // Deletes every call and gives the space back to the file system.
    void Clear();

    // The directory-lookup cache's entries, one per search.
    void StoreLookup(const QString& key, const TLookupCache::TEntry& entry);
    // Entries fetched at or after the time given; older ones are deleted.
    std::vector<std::pair<QString, TLookupCache::TEntry>> LoadLookups(const QDateTime& oldest);

    QSqlDatabase& Database() { return m_db; }

private:
    bool OpenAndCheck();
    void Migrate();
    void Close();

    QString m_path;
    QString m_connectionName;
    QString m_keptAside;
    QSqlDatabase m_db;
};
