// SPDX-License-Identifier: GPL-3.0-or-later

#include "TraceTestSupport.h"

#include "trace/Trace.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

TEST(TraceObjectText, OneLinePerPropertyOfTheClassAndItsAncestors)
{
    Desk desk;
    desk.setObjectName(u"front desk"_s);
    Handset left;
    Desk right;
    desk.m_extensions = {&left, &right, nullptr};

    EXPECT_EQ(TraceObjectText(&desk).split(u'\n'),
              (QStringList {
                  u"caller=Anna Berg <sip:anna@example.org>"_s,
                  u"lineCount=-2"_s,
                  u"muted=True"_s,
                  u"accounts=[work, home, private]"_s,
                  u"extensions=3 [Handset, Desk, nil]"_s,
                  u"owner=nil"_s,
                  u"mode=Ringing"_s,
                  u"volume=0.25"_s,
                  u"panel=QSizeF"_s,
              }));
}

TEST(TraceObjectText, NumbersReadAsQtConvertsThem)
{
    Meter meter;
    for (const double reading : {0.0, 0.25, -3.5, 45123.75, 1e21, 1e-7, 0.1 + 0.2, 1.0 / 3,
                                 std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        meter.m_reading = reading;
        EXPECT_EQ(TraceObjectText(&meter).split(u'\n')[0], u"reading=" + QVariant(reading).toString());
    }
    for (const int count : {0, -1, 7, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        meter.m_count = count;
        EXPECT_EQ(TraceObjectText(&meter).split(u'\n')[1], u"count=" + QVariant(count).toString());
    }
}

TEST(TraceObjectText, ObjectLinksShowTheirClass)
{
    Desk desk;
    Handset handset(&desk);
    EXPECT_TRUE(TraceObjectText(&desk).contains(u"extensions=0 []"_s));
    EXPECT_EQ(TraceObjectText(nullptr), u"nil"_s);

    QObject plain;
    plain.setObjectName(u"only a name"_s);
    EXPECT_EQ(TraceObjectText(&plain), QString());
}

TEST_F(TraceTest, ObjectDumpReachesTheSink)
{
    Handset handset;
    handset.m_muted = false;
    Trace::Object(u"Phone::Ring:Handset", &handset);
    const std::vector<TraceEntry> entries = memory->Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].kind, TraceKind::Object);
    EXPECT_EQ(entries[0].title, u"Phone::Ring:Handset"_s);
    EXPECT_EQ(entries[0].value, TraceObjectText(&handset));
    EXPECT_TRUE(entries[0].value.contains(u"muted=False"_s));
}

TEST_F(TraceTest, ObjectIsNotReadWhenTheTraceIsOffOrBelowItsLevel)
{
    Handset handset;
    Trace::SetEnabled(false);
    Trace::Object(u"Phone::Ring:Handset", &handset);
    Trace::SetEnabled(true);
    Trace::SetLevel(TraceLevel::Warning);
    Trace::Object(u"Phone::Ring:Handset", &handset);
    EXPECT_EQ(handset.reads, 0);
    EXPECT_TRUE(memory->Entries().empty());

    Trace::SetLevel(TraceLevel::Debug);
    Trace::Object(u"Phone::Ring:Handset", &handset);
    EXPECT_EQ(handset.reads, 4);
}

TEST(TraceObjectTextNoSinks, ObjectIsNotReadWithoutSinks)
{
    Trace::RemoveAllSinks();
    Trace::Configure({}, {});
    Trace::SetEnabled(true);
    Handset handset;
    Trace::Object(u"Phone::Ring:Handset", &handset);
    Trace::SetEnabled(false);
    EXPECT_EQ(handset.reads, 0);
}

} // namespace
