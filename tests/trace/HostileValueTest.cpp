// SPDX-License-Identifier: GPL-3.0-or-later

#include "TraceTestSupport.h"

#include "trace/Trace.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A caller's name or a directory server's answer can be megabytes long; the trace keeps
// the start and says how long the value was.
TEST_F(TraceTest, LongValuesAreCutToTheirStartAndLength)
{
    const QString huge(10'000'000, u'x');
    const QString cut = QString(4096, u'x') + u"... (10000000 characters)"_s;
    Handset handset;
    handset.m_caller = huge;
    handset.m_accounts = {u"work"_s, huge};

    Trace::Value(u"Call::Ring:Caller", huge);
    Trace::Value("Call::Ring:Raw", huge.toUtf8().constData());
    Trace::Strings(u"Call::Ring:Names", {u"short"_s, huge});
    Trace::Warning(u"Call::Ring:Odd", huge);
    Trace::Error(u"Call::Ring:Failed", huge);
    Trace::Object(u"Call::Ring:Handset", &handset);

    const std::vector<TraceEntry> entries = memory->Entries();
    ASSERT_EQ(entries.size(), 6u);
    for (int i : {0, 1, 3, 4})
        EXPECT_EQ(entries[i].value, cut) << entries[i].title.toStdString();
    EXPECT_EQ(entries[2].value, u"short\n"_s + cut);
    EXPECT_TRUE(entries[5].value.contains(u"caller="_s + cut + u'\n'));
    EXPECT_TRUE(entries[5].value.contains(u"accounts=[work, "_s + cut + u']'));
    EXPECT_LT(entries[5].value.size(), 3 * cut.size());
}

TEST_F(TraceTest, ValueAtTheLimitIsKeptWholeAndNoCharacterIsSplit)
{
    const QString atLimit(4096, u'y');
    Trace::Value(u"Call::Ring:Caller", atLimit);
    // U+1F4DE takes two UTF-16 units; the cut falls between them.
    const QString emoji = QString(4095, u'z') + u"\U0001F4DE"_s + u"tail"_s;
    Trace::Value(u"Call::Ring:Caller", emoji);

    const std::vector<TraceEntry> entries = memory->Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].value, atLimit);
    EXPECT_EQ(entries[1].value, QString(4095, u'z') + u"... (4101 characters)"_s);
}

} // namespace
