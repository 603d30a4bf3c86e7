// SPDX-License-Identifier: GPL-3.0-or-later

#include "WaitUntil.h"

#include "history/CallHistory.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TCallRecord Missed(const QString& name)
{
    TCallRecord record;
    record.started = record.ended = QDateTime::currentDateTime();
    record.callerName = name;
    record.missed = true;
    return record;
}

std::vector<TCallRecord> QueryAll(TCallHistory& history)
{
    QObject context;
    std::optional<std::vector<TCallRecord>> answer;
    history.Query({}, &context, [&](std::vector<TCallRecord> records) { answer = std::move(records); });
    EXPECT_TRUE(WaitUntil([&] { return answer.has_value(); }, 5000));
    return answer.value_or(std::vector<TCallRecord> {});
}

} // namespace

TEST(CallHistory, CallsAreWrittenInTheBackgroundAndCountedAsUnseenUntilSeen)
{
    QTemporaryDir dir;
    TCallHistory history({.path = dir.filePath(QStringLiteral("history.sqlite")), .maxCalls = 2});
    QSignalSpy counts(&history, &TCallHistory::UnseenMissedCountChanged);
    history.Add(Missed(QStringLiteral("A")));
    history.Add(Missed(QStringLiteral("B")));
    history.Add(Missed(QStringLiteral("C")));

    ASSERT_TRUE(WaitUntil([&] { return history.UnseenMissedCount() == 2; }, 5000));
    const auto records = QueryAll(history);
    ASSERT_EQ(records.size(), 2u) << "bounded to the newest two";
    EXPECT_EQ(records[0].callerName, QStringLiteral("C"));

    history.MarkMissedSeen();
    ASSERT_TRUE(WaitUntil([&] { return history.UnseenMissedCount() == 0; }, 5000));
    EXPECT_EQ(counts.last().value(0), QVariant(0));
}

TEST(CallHistory, QueuedCallsAreWrittenBeforeTheHistoryCloses)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    {
        TCallHistory history({.path = path});
        for (int i = 0; i < 100; ++i)
            history.Add(Missed(QString::number(i)));
    }
    TCallHistory reopened({.path = path});
    EXPECT_EQ(QueryAll(reopened).size(), 100u);
}

TEST(CallHistory, SwitchedOffKeepsNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    TCallHistory history({.path = path, .enabled = false});
    history.Add(Missed(QStringLiteral("A")));
    EXPECT_TRUE(QueryAll(history).empty());
    EXPECT_FALSE(QFileInfo::exists(path));
}
