// SPDX-License-Identifier: GPL-3.0-or-later

// The trace keeps a model object's dump while the object is unchanged: every way the
// model changes an object must show in its next dump.
#include "TraceTest.h"
#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "trace/Trace.h"
#include "trace/TraceLine.h"

#include <gtest/gtest.h>

#include <QVariant>

#include <memory>
#include <new>
#include <set>
#include <thread>
#include <vector>

namespace {

class TraceDump : public TraceTest
{
protected:
    // What Trace::Object wrote, checked against a dump rendered afresh.
    void ExpectCurrentDump(const QObject* object)
    {
        Trace::Object(u"Test::Dump", object);
        const TraceEntry entry = memory->Entries().back();
        EXPECT_EQ(entry.value, TraceObjectText(object));
        EXPECT_EQ(entry.valueLines, TraceValueLines(entry.value));
    }
};

TEST_F(TraceDump, FollowsSettersAndPropertyWrites)
{
    TRule rule;
    rule.SetName(QStringLiteral("Alt"));
    ExpectCurrentDump(&rule);
    rule.SetName(QStringLiteral("Neu")); // a temporary: the moving setter
    ExpectCurrentDump(&rule);
    const QString name = QStringLiteral("Kopie");
    rule.SetName(name); // the copying setter
    ExpectCurrentDump(&rule);
    rule.setProperty("FromNumberIn", QStringLiteral("030*"));
    ExpectCurrentDump(&rule);
    rule.SetID(QStringLiteral("{1}"));
    ExpectCurrentDump(&rule);
    EXPECT_TRUE(memory->Entries().back().value.contains(u"FromNumberIn=030*"));
}

TEST_F(TraceDump, FollowsAssign)
{
    TOrvixLine source;
    TOrvixLine snapshot;
    ExpectCurrentDump(&snapshot);
    source.SetCallerName(QStringLiteral("Anna Berg"));
    source.SetLineStateHistory({QStringLiteral("LSRinging")});
    snapshot.Assign(&source);
    ExpectCurrentDump(&snapshot);
    EXPECT_TRUE(memory->Entries().back().value.contains(u"CallerName=Anna Berg"));
}

TEST_F(TraceDump, FollowsListChanges)
{
    TActionSequence first;
    TActionSequence second;
    TRule rule;
    rule.SetFreeObjects(false);
    ExpectCurrentDump(&rule);
    rule.AddNewItem(&first);
    ExpectCurrentDump(&rule);
    rule.AddNewItem(&second);
    rule.SwapItems(&first, &second);
    ExpectCurrentDump(&rule);
    TActionStopper stopper;
    rule.ExchangeItem(&first, &stopper, false);
    ExpectCurrentDump(&rule);
    rule.RemoveItem(&stopper);
    ExpectCurrentDump(&rule);
    rule.setProperty("MainList", QVariant::fromValue(QList<TBaseObject*> {&first, &second, &first}));
    ExpectCurrentDump(&rule);
    rule.ClearList();
    ExpectCurrentDump(&rule);
}

TEST_F(TraceDump, FollowsComputedPropertiesAndTheLineItself)
{
    TActionStopper stopper;
    ExpectCurrentDump(&stopper);
    stopper.SetBlockCount(3);
    ExpectCurrentDump(&stopper);
    EXPECT_TRUE(memory->Entries().back().value.contains(u"Description=Bei Erfolg 3 Aktionen"));

    TOrvixLine line;
    ExpectCurrentDump(&line);
    line.RecordLineState(QStringLiteral("LSRinging"), QStringLiteral("Test::"));
    ExpectCurrentDump(&line);
    EXPECT_TRUE(memory->Entries().back().value.contains(u"LineStateQueue=[LSRinging]"));
}

TEST_F(TraceDump, ANewObjectAtAFreedAddressShowsItself)
{
    alignas(TRule) unsigned char storage[sizeof(TRule)];
    auto* old = new (storage) TRule;
    old->SetName(QStringLiteral("Alt"));
    ExpectCurrentDump(old);
    old->~TRule();
    auto* fresh = new (storage) TRule;
    fresh->SetName(QStringLiteral("Neu"));
    ExpectCurrentDump(fresh);
    fresh->~TRule();
}

TEST(TraceRevision, IsNewForEveryChangeAndNeverSharedByTwoObjects)
{
    TRule first;
    TRule second;
    TActionSequence sequence;
    std::set<quint64> seen {first.TraceRevision(), second.TraceRevision(), sequence.TraceRevision()};
    EXPECT_EQ(seen.size(), 3u);
    first.SetName(QStringLiteral("x"));
    EXPECT_TRUE(seen.insert(first.TraceRevision()).second);
    second.Assign(&first);
    EXPECT_TRUE(seen.insert(second.TraceRevision()).second);
    sequence.SetFreeObjects(false);
    sequence.AddNewItem(&first);
    EXPECT_TRUE(seen.insert(sequence.TraceRevision()).second);
    EXPECT_EQ(seen.count(0), 0u);
}

} // namespace

// Kept trace dumps are told apart by revision: revisions handed out on
// different threads must never meet.
TEST(TraceRevision, RevisionsAreUniqueAcrossThreads)
{
    constexpr int PerThread = 20000;
    std::vector<quint64> a;
    std::vector<quint64> b;
    std::thread other([&] {
        for (int i = 0; i < PerThread; ++i)
            b.push_back(TraceRevisioned::NextRevision());
    });
    for (int i = 0; i < PerThread; ++i)
        a.push_back(TraceRevisioned::NextRevision());
    other.join();
    std::set<quint64> seen(a.begin(), a.end());
    seen.insert(b.begin(), b.end());
    EXPECT_EQ(seen.size(), std::size_t(2 * PerThread));
    EXPECT_FALSE(seen.contains(0));
}
