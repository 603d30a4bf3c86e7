// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/CallRecord.h"
#include "history/HistoryFilter.h"
#include "history/LookupCache.h"

#include <QMutex>
#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <vector>

class THistoryDatabase;

/**
 * @brief The call history: what the program keeps of every call it saw.
 *
 * Calls are handed over from the main thread and written by a worker thread of
 * its own, in one transaction per batch, so that line handling never waits for
 * the disk; queries run there as well and answer on the main thread. With the
 * history switched off nothing is written and no file is made. A database that
 * cannot be opened leaves the history off for this run, said in the trace.
 */
class TCallHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 DefaultMaxCalls = 50000;

    struct TOptions
    {
        QString path;
        bool enabled = true;
        qint64 maxCalls = DefaultMaxCalls;
        qint64 lookupLifetimeSeconds = TLookupCache::DefaultLifetimeSeconds;
    };

    // $XDG_DATA_HOME/kestrun/history.sqlite (beside the personal-information store).
    static QString DefaultPath();
    // The user's choice, else the machine's, from the key "...\History": "KeepHistory" (default
    // true), "MaxCalls" (default 50,000; at least 1) and "LookupCacheDays" (default 7; 0 keeps no
    // directory answers).
    static TOptions OptionsFromSettings();

    explicit TCallHistory(const TOptions& options, QObject* parent = nullptr);
    // Writes what is still queued, then stops the worker.
    ~TCallHistory() override;

    bool Enabled() const { return m_options.enabled; }

    // Queues the call for writing; returns at once.
    void Add(TCallRecord record);
    // The calls the filter selects, handed to done on the main thread while context lives.
    void Query(const THistoryFilter& filter, QObject* context, std::function<void(std::vector<TCallRecord>)> done);
    void MarkMissedSeen();
    // Deletes every call for good; done is told whether it worked.
    void Clear(QObject* context, std::function<void(bool)> done);
    // The number of missed calls not yet seen, as last counted.
    int UnseenMissedCount() const { return m_unseenMissed; }
    // The directory-lookup cache kept in the same database (in memory only while the history is off).
    const std::shared_ptr<TLookupCache>& LookupCache() const { return m_lookupCache; }

signals:
    void UnseenMissedCountChanged(int count);
    // Calls were written or deleted: what shows the history may ask again.
    void HistoryChanged();

private:
    // Runs on the worker thread, with the database when it is open.
    void OnWorker(std::function<void(THistoryDatabase*)> work);
    void WritePending(THistoryDatabase* db);
    void ReportUnseen(THistoryDatabase* db);

    TOptions m_options;
    QThread m_thread;
    QObject* m_worker = nullptr; // lives on m_thread
    std::unique_ptr<THistoryDatabase> m_db; // made, used and destroyed on m_thread
    QMutex m_pendingMutex;
    std::vector<TCallRecord> m_pending;
    std::shared_ptr<TLookupCache> m_lookupCache;
    int m_unseenMissed = 0;
};
