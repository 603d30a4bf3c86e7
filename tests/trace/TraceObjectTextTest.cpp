#include "TraceTestSupport.h"

#include "trace/Trace.h"

#include <gtest/gtest.h>

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
