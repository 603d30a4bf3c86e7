// SPDX-License-Identifier: GPL-3.0-or-later

// The call history against bare SQLite: writing 10,000 calls (goal: at most 1.5
// times SQLite's own prepared insert in one transaction), the first page of a
// filtered query over 50,000 calls (goal: at most 2.0 times the bare query), and
// a directory answer from the lookup cache against one from a map in memory.
#include "BenchRatios.h"

#include "history/HistoryDatabase.h"
#include "history/LookupCache.h"

#include <QCoreApplication>
#include <QMap>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <vector>

namespace {

constexpr int WrittenCalls = 10000;
constexpr int QueriedCalls = 50000;
const QString QueryText = QStringLiteral("Berg");

std::vector<TCallRecord> Calls(int count)
{
    std::vector<TCallRecord> calls;
    calls.reserve(size_t(count));
    const QDateTime start(QDate(2026, 1, 1), QTime(8, 0));
    const QStringList names {"Anna Berg", "Jonas Keller", "Carla Diehl", "Bert Hahn", "Dora Brandt"};
    for (int i = 0; i < count; ++i) {
        TCallRecord& call = calls.emplace_back();
        call.lineIndex = i % 4;
        call.direction = i % 3 == 0 ? TCallDirection::Outgoing : TCallDirection::Incoming;
        call.internal = 0;
        call.started = start.addSecs(qint64(i) * 600);
        call.ended = call.started.addSecs(90);
        call.missed = i % 5 == 0 && call.direction == TCallDirection::Incoming;
        if (!call.missed) {
            call.answered = call.started.addSecs(8);
            call.durationSeconds = 82;
        }
        call.number = QStringLiteral("+49301%1").arg(i % 9973, 6, 10, QLatin1Char('0'));
        call.convertedNumber = call.number;
        call.callerName = names[i % names.size()];
        call.company = i % 2 ? QStringLiteral("Berg Logistik GmbH") : QString();
        call.firedRules = {QStringLiteral("Anrufer zeigen")};
    }
    return calls;
}

void Check(int status, sqlite3* db)
{
    if (status != SQLITE_OK && status != SQLITE_DONE && status != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

void Bind(sqlite3_stmt* statement, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

qint64 Ms(const QDateTime& time)
{
    return time.toMSecsSinceEpoch();
}

void BM_HistoryInsert(benchmark::State& state)
{
    const std::vector<TCallRecord> calls = Calls(WrittenCalls);
    QTemporaryDir dir;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        THistoryDatabase db(dir.filePath(QStringLiteral("h%1.sqlite").arg(++round)), QStringLiteral("bench"));
        std::vector<TCallRecord> batch = calls;
        state.ResumeTiming();
        db.Insert(batch);
    }
}
BENCHMARK(BM_HistoryInsert)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_SqliteInsert(benchmark::State& state)
{
    const std::vector<TCallRecord> calls = Calls(WrittenCalls);
    QTemporaryDir dir;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = dir.filePath(QStringLiteral("s%1.sqlite").arg(++round));
        // The same schema, made by the history itself.
        {
            THistoryDatabase schema(path, QStringLiteral("schema"));
        }
        sqlite3* db = nullptr;
        Check(sqlite3_open(path.toUtf8().constData(), &db), db);
        Check(sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr), db);
        state.ResumeTiming();
        sqlite3_stmt* insert = nullptr;
        Check(sqlite3_prepare_v2(db,
                                 "INSERT INTO calls (line, direction, internal, started, answered, ended, duration, "
                                 "number, converted_number, caller_name, display_name, company, missed, transferred, "
                                 "fired_rules, seen) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                                 -1, &insert, nullptr),
              db);
        Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        for (const TCallRecord& call : calls) {
            sqlite3_bind_int(insert, 1, call.lineIndex);
            sqlite3_bind_int(insert, 2, int(call.direction));
            sqlite3_bind_int(insert, 3, call.internal);
            sqlite3_bind_int64(insert, 4, Ms(call.started));
            if (call.answered.isValid())
                sqlite3_bind_int64(insert, 5, Ms(call.answered));
            else
                sqlite3_bind_null(insert, 5);
            sqlite3_bind_int64(insert, 6, Ms(call.ended));
            sqlite3_bind_int64(insert, 7, call.durationSeconds);
            Bind(insert, 8, call.number);
            Bind(insert, 9, call.convertedNumber);
            Bind(insert, 10, call.callerName);
            Bind(insert, 11, call.displayName);
            Bind(insert, 12, call.company);
            sqlite3_bind_int(insert, 13, call.missed);
            sqlite3_bind_int(insert, 14, call.transferred);
            Bind(insert, 15, call.firedRules.join(u'\n'));
            sqlite3_bind_int(insert, 16, call.seen);
            Check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        sqlite3_finalize(insert);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SqliteInsert)->Repetitions(5)->Unit(benchmark::kMillisecond);

struct QueryFixture
{
    QTemporaryDir dir;
    std::unique_ptr<THistoryDatabase> db;

    QueryFixture()
    {
        db = std::make_unique<THistoryDatabase>(dir.filePath(QStringLiteral("q.sqlite")), QStringLiteral("query"));
        std::vector<TCallRecord> calls = Calls(QueriedCalls);
        db->Insert(calls);
    }

    static QueryFixture& Instance()
    {
        static QueryFixture fixture;
        return fixture;
    }
};

THistoryFilter PageFilter()
{
    THistoryFilter filter;
    filter.text = QueryText;
    filter.missedOnly = true;
    filter.limit = 500;
    return filter;
}

void BM_HistoryQueryFirstPage(benchmark::State& state)
{
    QueryFixture& fixture = QueryFixture::Instance();
    for (auto _ : state) {
        const std::vector<TCallRecord> page = fixture.db->Query(PageFilter());
        benchmark::DoNotOptimize(page.size());
    }
}
BENCHMARK(BM_HistoryQueryFirstPage)->Repetitions(5)->Unit(benchmark::kMicrosecond);

void BM_SqliteQueryFirstPage(benchmark::State& state)
{
    QueryFixture& fixture = QueryFixture::Instance();
    sqlite3* db = nullptr;
    Check(sqlite3_open(fixture.db->Path().toUtf8().constData(), &db), db);
    sqlite3_stmt* query = nullptr;
    Check(sqlite3_prepare_v2(
              db,
              "SELECT id, line, direction, internal, started, answered, ended, duration, number, converted_number, "
              "caller_name, display_name, company, missed, transferred, fired_rules, seen FROM calls WHERE "
              "(caller_name LIKE ?1 ESCAPE '\\' OR display_name LIKE ?1 ESCAPE '\\' OR number LIKE ?1 ESCAPE '\\' "
              "OR converted_number LIKE ?1 ESCAPE '\\' OR company LIKE ?1 ESCAPE '\\') AND missed = 1 "
              "ORDER BY started DESC, id DESC LIMIT 500 OFFSET 0",
              -1, &query, nullptr),
          db);
    for (auto _ : state) {
        Bind(query, 1, u'%' + QueryText + u'%');
        qint64 sum = 0;
        while (sqlite3_step(query) == SQLITE_ROW) {
            for (int column = 0; column < 17; ++column) {
                if (sqlite3_column_type(query, column) == SQLITE_TEXT)
                    sum += sqlite3_column_bytes(query, column);
                else
                    sum += sqlite3_column_int64(query, column);
            }
        }
        sqlite3_reset(query);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
}
BENCHMARK(BM_SqliteQueryFirstPage)->Repetitions(5)->Unit(benchmark::kMicrosecond);

constexpr int CachedKeys = 10000;

QString SearchKey(int i)
{
    return QStringLiteral("49301%1").arg(i, 6, 10, QLatin1Char('0'));
}

TLookupCache::TFields Answer(int i)
{
    return {{QStringLiteral("displayname"), QStringLiteral("Kontakt %1").arg(i)},
            {QStringLiteral("company"), QStringLiteral("Firma %1").arg(i % 97)}};
}

void BM_CachedLookup(benchmark::State& state)
{
    TLookupCache cache;
    std::vector<QString> keys;
    for (int i = 0; i < CachedKeys; ++i) {
        keys.push_back(
            TLookupCache::Key(SearchKey(i), QStringLiteral("searchnumber"), QStringLiteral("kestrunclient")));
        cache.Store(keys.back(), Answer(i));
    }
    int i = 0;
    for (auto _ : state) {
        const QString key =
            TLookupCache::Key(SearchKey(i), QStringLiteral("searchnumber"), QStringLiteral("kestrunclient"));
        benchmark::DoNotOptimize(cache.Find(key));
        i = (i + 7919) % CachedKeys;
    }
}
BENCHMARK(BM_CachedLookup)->Repetitions(5);

void BM_PreparedAnswerLookup(benchmark::State& state)
{
    QMap<QString, TLookupCache::TFields> answers;
    for (int i = 0; i < CachedKeys; ++i)
        answers.insert(SearchKey(i), Answer(i));
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(answers.value(SearchKey(i)));
        i = (i + 7919) % CachedKeys;
    }
}
BENCHMARK(BM_PreparedAnswerLookup)->Repetitions(5);

} // namespace

int main(int argc, char** argv)
{
    // Qt SQL's driver is a plugin, found through the application object.
    QCoreApplication app(argc, argv);
    return RunBenchmarksWithGoals(
        argc, argv,
        {{"history_write_10000", "BM_HistoryInsert", "BM_SqliteInsert", 1.5},
         {"history_query_first_page", "BM_HistoryQueryFirstPage", "BM_SqliteQueryFirstPage", 2.0}},
        {"BM_HistoryQueryFirstPage", "BM_SqliteQueryFirstPage", "BM_CachedLookup", "BM_PreparedAnswerLookup"});
}
