// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/CallHistory.h"

#include "history/HistoryDatabase.h"
#include "platform/DataPaths.h"
#include "platform/Registry.h"
#include "trace/Trace.h"

#include <QMutexLocker>

namespace {

QString ConnectionName(const void* owner)
{
    return QStringLiteral("kestrun-history-%1").arg(reinterpret_cast<quintptr>(owner), 0, 16);
}

} // namespace

QString TCallHistory::DefaultPath()
{
    return UserDataHome() + QStringLiteral("/history.sqlite");
}

TCallHistory::TOptions TCallHistory::OptionsFromSettings()
{
    constexpr QStringView HistoryKey = u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\History";
    const auto read = [&](const QString& name) {
        if (auto value = ReadRegistryValue(QSettings::UserScope, HistoryKey, name))
            return value;
        return ReadRegistryValue(QSettings::SystemScope, HistoryKey, name);
    };
    TOptions options {.path = DefaultPath()};
    if (const auto keep = read(QStringLiteral("KeepHistory")))
        options.enabled = keep->toBool();
    if (const auto days = read(QStringLiteral("LookupCacheDays"))) {
        bool ok = false;
        const qint64 value = days->toLongLong(&ok);
        if (ok && value >= 0)
            options.lookupLifetimeSeconds = value * 24 * 3600;
    }
    if (const auto max = read(QStringLiteral("MaxCalls"))) {
        bool ok = false;
        const qint64 value = max->toLongLong(&ok);
        if (ok && value >= 1)
            options.maxCalls = value;
        else
            Trace::Warning("CallHistory::Options:MaxCalls is no positive number, the default applies",
                           RegistryString(*max));
    }
    return options;
}

TCallHistory::TCallHistory(const TOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_lookupCache(std::make_shared<TLookupCache>(options.lookupLifetimeSeconds))
{
    if (!m_options.enabled)
        return;
    m_thread.setObjectName(QStringLiteral("CallHistory"));
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    m_lookupCache->SetStore([this](const QString& key, const TLookupCache::TEntry& entry) {
        OnWorker([key, entry](THistoryDatabase* db) {
            if (!db)
                return;
            try {
                db->StoreLookup(key, entry);
            } catch (const std::exception& error) {
                Trace::Exception("CallHistory::StoreLookup", error);
            }
        });
    });
    QMetaObject::invokeMethod(m_worker, [this] {
        try {
            m_db = std::make_unique<THistoryDatabase>(m_options.path, ConnectionName(this));
            Trace::Value("CallHistory::Open:Database", m_options.path);
            ReportUnseen(m_db.get());
            // An expired answer still serves while the server is down, but not for ever.
            const QDateTime oldest =
                QDateTime::currentDateTime().addSecs(-std::max<qint64>(m_options.lookupLifetimeSeconds, 1) * 4);
            for (const auto& [key, entry] : m_db->LoadLookups(oldest))
                m_lookupCache->Restore(key, entry);
        } catch (const std::exception& error) {
            Trace::Exception("CallHistory::Open", error);
        }
    });
}

TCallHistory::~TCallHistory()
{
    // Lookups may still store into the cache (it is shared); nothing goes to the closed database then.
    m_lookupCache->SetStore({});
    if (!m_worker)
        return;
    // Waits for the worker: what is queued is written before the program ends.
    QMetaObject::invokeMethod(
        m_worker,
        [this] {
            WritePending(m_db.get());
            m_db.reset();
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void TCallHistory::Add(TCallRecord record)
{
    if (!m_worker)
        return;
    bool first = false;
    {
        const QMutexLocker lock(&m_pendingMutex);
        first = m_pending.empty();
        m_pending.push_back(std::move(record));
    }
    // One write for everything that arrives before the worker gets to it.
    if (first)
        OnWorker([this](THistoryDatabase* db) { WritePending(db); });
}

void TCallHistory::Query(const THistoryFilter& filter, QObject* context,
                         std::function<void(std::vector<TCallRecord>)> done)
{
    if (!m_worker) {
        QMetaObject::invokeMethod(
            context, [done = std::move(done)] { done({}); }, Qt::QueuedConnection);
        return;
    }
    OnWorker([filter, context, done = std::move(done)](THistoryDatabase* db) {
        std::vector<TCallRecord> records;
        if (db) {
            try {
                records = db->Query(filter);
            } catch (const std::exception& error) {
                Trace::Exception("CallHistory::Query", error);
            }
        }
        QMetaObject::invokeMethod(
            context, [done, records = std::move(records)]() mutable { done(std::move(records)); },
            Qt::QueuedConnection);
    });
}

void TCallHistory::MarkMissedSeen()
{
    OnWorker([this](THistoryDatabase* db) {
        if (!db)
            return;
        try {
            db->MarkMissedSeen();
        } catch (const std::exception& error) {
            Trace::Exception("CallHistory::MarkMissedSeen", error);
        }
        ReportUnseen(db);
    });
}

void TCallHistory::Clear(QObject* context, std::function<void(bool)> done)
{
    if (!m_worker) {
        QMetaObject::invokeMethod(
            context, [done = std::move(done)] { done(true); }, Qt::QueuedConnection);
        return;
    }
    OnWorker([this, context, done = std::move(done)](THistoryDatabase* db) {
        bool cleared = false;
        if (db) {
            try {
                db->Clear();
                cleared = true;
                Trace::Message("CallHistory::Clear:History deleted");
            } catch (const std::exception& error) {
                Trace::Exception("CallHistory::Clear", error);
            }
        }
        QMetaObject::invokeMethod(
            context, [done, cleared] { done(cleared); }, Qt::QueuedConnection);
        ReportUnseen(db);
        QMetaObject::invokeMethod(this, &TCallHistory::HistoryChanged, Qt::QueuedConnection);
    });
}

void TCallHistory::OnWorker(std::function<void(THistoryDatabase*)> work)
{
    if (!m_worker)
        return;
    QMetaObject::invokeMethod(m_worker, [this, work = std::move(work)] { work(m_db.get()); });
}

void TCallHistory::WritePending(THistoryDatabase* db)
{
    std::vector<TCallRecord> batch;
    {
        const QMutexLocker lock(&m_pendingMutex);
        batch.swap(m_pending);
    }
    if (!db || batch.empty())
        return;
    try {
        db->Insert(batch);
        db->Prune(m_options.maxCalls);
        Trace::Value("CallHistory::Write:Calls written", qint64(batch.size()));
    } catch (const std::exception& error) {
        Trace::Exception("CallHistory::Write", error);
    }
    ReportUnseen(db);
    QMetaObject::invokeMethod(this, &TCallHistory::HistoryChanged, Qt::QueuedConnection);
}

void TCallHistory::ReportUnseen(THistoryDatabase* db)
{
    if (!db)
        return;
    int count = 0;
    try {
        count = db->UnseenMissedCount();
    } catch (const std::exception& error) {
        Trace::Exception("CallHistory::UnseenMissedCount", error);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, count] {
            if (count == m_unseenMissed)
                return;
            m_unseenMissed = count;
            emit UnseenMissedCountChanged(count);
        },
        Qt::QueuedConnection);
}
