// SPDX-License-Identifier: GPL-3.0-or-later

#include "TraceCapture.h"

#include "history/HistoryDatabase.h"
#include "platform/KestrunError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TCallRecord Call(const QString& name, const QString& number, const QDateTime& started, bool missed,
                 const QString& company = {})
{
    TCallRecord record;
    record.lineIndex = 0;
    record.internal = 0;
    record.started = started;
    record.ended = started.addSecs(30);
    record.number = number;
    record.convertedNumber = number;
    record.callerName = name;
    record.company = company;
    record.missed = missed;
    record.firedRules = {QStringLiteral("Anrufer zeigen")};
    if (!missed) {
        record.answered = started.addSecs(5);
        record.durationSeconds = 25;
    }
    return record;
}

int Mode(const QString& path)
{
    struct stat status
    {
    };
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return int(status.st_mode & 07777);
}

class HistoryDatabaseTest : public ::testing::Test
{
protected:
    QString Path() const { return dir.filePath(QStringLiteral("kestrun/history.sqlite")); }

    QStringList Names(const std::vector<TCallRecord>& records) const
    {
        QStringList names;
        for (const TCallRecord& r : records)
            names.append(r.callerName);
        return names;
    }

    QTemporaryDir dir;
    const QDateTime day {QDate(2026, 12, 10), QTime(8, 0)};
};

} // namespace

TEST_F(HistoryDatabaseTest, CallsComeBackAsWrittenAndTheFileIsPrivate)
{
    THistoryDatabase db(Path(), QStringLiteral("roundtrip"));
    std::vector<TCallRecord> calls {
        Call(QStringLiteral("Anna Berg"), QStringLiteral("+49301234"), day, true, QStringLiteral("Berg & Söhne")),
        Call(QStringLiteral("Bert"), QStringLiteral("+49409876"), day.addSecs(60), false)};
    calls[1].direction = TCallDirection::Outgoing;
    calls[1].transferred = true;
    db.Insert(calls);
    EXPECT_GT(calls[0].id, 0);

    THistoryFilter filter;
    filter.ascending = true;
    EXPECT_EQ(db.Query(filter), calls);
    EXPECT_EQ(db.Count(), 2);
    EXPECT_EQ(Mode(Path()), 0600);
    EXPECT_EQ(Mode(QFileInfo(Path()).absolutePath()), 0700);
}

TEST_F(HistoryDatabaseTest, FilterSelectsSortsAndPages)
{
    THistoryDatabase db(Path(), QStringLiteral("filter"));
    std::vector<TCallRecord> calls {
        Call(QStringLiteral("Anna Berg"), QStringLiteral("+49301234"), day, true, QStringLiteral("Kestrun AG")),
        Call(QStringLiteral("Bert"), QStringLiteral("+49409876"), day.addDays(1), false),
        Call(QStringLiteral("Carla 100%"), QStringLiteral("+49891111"), day.addDays(2), true),
        Call(QStringLiteral("Dora_X"), QStringLiteral("+49301999"), day.addDays(3), false),
    };
    db.Insert(calls);

    struct Case
    {
        const char* what;
        THistoryFilter filter;
        QStringList names;
    };
    const auto filter = [](auto change) {
        THistoryFilter f;
        change(f);
        return f;
    };
    const Case cases[] = {
        {"newest first", {}, {"Dora_X", "Carla 100%", "Bert", "Anna Berg"}},
        {"text in the name", filter([](auto& f) { f.text = QStringLiteral(" bert "); }), {"Bert"}},
        {"text in the company", filter([](auto& f) { f.text = QStringLiteral("kestrun"); }), {"Anna Berg"}},
        {"text in the number", filter([](auto& f) { f.text = QStringLiteral("4930"); }), {"Dora_X", "Anna Berg"}},
        {"percent is a character", filter([](auto& f) { f.text = QStringLiteral("0%"); }), {"Carla 100%"}},
        {"underscore is a character", filter([](auto& f) { f.text = QStringLiteral("a_"); }), {"Dora_X"}},
        {"missed only", filter([](auto& f) { f.missedOnly = true; }), {"Carla 100%", "Anna Berg"}},
        {"date range",
         filter([&](auto& f) {
             f.from = day.date().addDays(1);
             f.to = day.date().addDays(2);
         }),
         {"Carla 100%", "Bert"}},
        {"sorted by name",
         filter([](auto& f) {
             f.sortColumn = THistoryFilter::TColumn::Name;
             f.ascending = true;
         }),
         {"Anna Berg", "Bert", "Carla 100%", "Dora_X"}},
        {"second page",
         filter([](auto& f) {
             f.limit = 2;
             f.offset = 2;
         }),
         {"Bert", "Anna Berg"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Names(db.Query(c.filter)), c.names) << c.what;
}

TEST_F(HistoryDatabaseTest, PruneKeepsTheNewestCalls)
{
    THistoryDatabase db(Path(), QStringLiteral("prune"));
    std::vector<TCallRecord> calls;
    for (int i = 0; i < 10; ++i)
        calls.push_back(Call(QString::number(i), QStringLiteral("1"), day.addSecs(i), false));
    db.Insert(calls);
    db.Prune(3);
    THistoryFilter filter;
    EXPECT_EQ(Names(db.Query(filter)), (QStringList {"9", "8", "7"}));
    db.Prune(5);
    EXPECT_EQ(db.Count(), 3);
}

TEST_F(HistoryDatabaseTest, MissedCallsAreUnseenUntilMarked)
{
    THistoryDatabase db(Path(), QStringLiteral("unseen"));
    std::vector<TCallRecord> calls {Call(QStringLiteral("A"), QStringLiteral("1"), day, true),
                                    Call(QStringLiteral("B"), QStringLiteral("2"), day, true),
                                    Call(QStringLiteral("C"), QStringLiteral("3"), day, false)};
    db.Insert(calls);
    EXPECT_EQ(db.UnseenMissedCount(), 2);
    db.MarkMissedSeen();
    EXPECT_EQ(db.UnseenMissedCount(), 0);
}

TEST_F(HistoryDatabaseTest, ClearLeavesNothingOfTheCallsInTheFile)
{
    const QString secret = QStringLiteral("Geheimer Anrufer Zebulon");
    {
        THistoryDatabase db(Path(), QStringLiteral("clear"));
        std::vector<TCallRecord> calls {Call(secret, QStringLiteral("+49301234"), day, true)};
        db.Insert(calls);
        db.Clear();
        EXPECT_EQ(db.Count(), 0);
    }
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains(secret.toUtf8()));
}

TEST_F(HistoryDatabaseTest, DamagedFileIsKeptAsideAndAFreshOneMade)
{
    QDir().mkpath(QFileInfo(Path()).absolutePath());
    QFile damaged(Path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    const QByteArray garbage = QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\x5a');
    damaged.write(garbage);
    damaged.close();

    TraceCapture trace;
    THistoryDatabase db(Path(), QStringLiteral("damaged"));
    ASSERT_FALSE(db.KeptAside().isEmpty());
    QFile kept(db.KeptAside());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage) << "the user's file is kept as it was";
    EXPECT_TRUE(trace.Has(QStringLiteral("CallHistory::Open:Damaged database kept aside, a new one is made")));

    std::vector<TCallRecord> calls {Call(QStringLiteral("A"), QStringLiteral("1"), day, true)};
    db.Insert(calls);
    EXPECT_EQ(db.Count(), 1);
}

TEST_F(HistoryDatabaseTest, FileOfANewerSchemaIsLeftAlone)
{
    {
        THistoryDatabase db(Path(), QStringLiteral("newer-setup"));
        QSqlQuery(db.Database()).exec(QStringLiteral("PRAGMA user_version = 99"));
    }
    EXPECT_THROW(THistoryDatabase(Path(), QStringLiteral("newer")), EKestrunError);
    EXPECT_TRUE(QFileInfo::exists(Path()));
}
