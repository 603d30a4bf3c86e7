// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/TraceConnections.h"

#include "trace/Trace.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Options = QMap<QString, QString>;

struct GoodText
{
    const char* name;
    QString text;
    QList<TraceConnection> expected;
};

void PrintTo(const GoodText& text, std::ostream* out)
{
    *out << text.name;
}

class ParseGoodText : public ::testing::TestWithParam<GoodText>
{
};

TEST_P(ParseGoodText, GivesProtocolsWithTheirOptions)
{
    const QList<TraceConnection> connections = ParseTraceConnections(GetParam().text);
    const QList<TraceConnection>& expected = GetParam().expected;
    ASSERT_EQ(connections.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(connections[i].protocol, expected[i].protocol);
        EXPECT_EQ(connections[i].options, expected[i].options) << "protocol " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseGoodText,
    ::testing::Values(
        GoodText {"ProgramText",
                  u"file(filename=\"/tmp/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil\", maxsize=20480, "
                  u"append=true), pipe(reconnect=true, reconnect.interval=10)"_s,
                  {{u"file"_s,
                    Options {{u"filename"_s, u"/tmp/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil"_s},
                             {u"maxsize"_s, u"20480"_s},
                             {u"append"_s, u"true"_s}}},
                   {u"pipe"_s, Options {{u"reconnect"_s, u"true"_s}, {u"reconnect.interval"_s, u"10"_s}}}}},
        GoodText {"QuotedCommasParenthesesBlanks",
                  u"file(filename=\"/tmp/a, (b) c=d.sil\")"_s,
                  {{u"file"_s, Options {{u"filename"_s, u"/tmp/a, (b) c=d.sil"_s}}}}},
        GoodText {"DoubledQuote",
                  u"file(filename=\"say \"\"hi\"\".sil\")"_s,
                  {{u"file"_s, Options {{u"filename"_s, u"say \"hi\".sil"_s}}}}},
        GoodText {"NamesInAnyCaseValuesAsWritten",
                  u"FILE(FileName=/tmp/X.sil, APPEND=TRUE), Pipe(PipeName=Viewer, Reconnect.Interval=3)"_s,
                  {{u"file"_s, Options {{u"filename"_s, u"/tmp/X.sil"_s}, {u"append"_s, u"TRUE"_s}}},
                   {u"pipe"_s, Options {{u"pipename"_s, u"Viewer"_s}, {u"reconnect.interval"_s, u"3"_s}}}}},
        GoodText {"BlanksAroundTokens",
                  u"\t pipe ( reconnect = false ,\n pipename = \"a b\" ) ,file(filename=x) "_s,
                  {{u"pipe"_s, Options {{u"reconnect"_s, u"false"_s}, {u"pipename"_s, u"a b"_s}}},
                   {u"file"_s, Options {{u"filename"_s, u"x"_s}}}}},
        GoodText {"NoOptions", u"pipe()"_s, {{u"pipe"_s, {}}}}, GoodText {"Empty", QString(), {}},
        GoodText {"OnlyBlanks", u"  \n "_s, {}}));

struct BadText
{
    const char* name;
    QString text;
    QString fault;
    QString where;
};

void PrintTo(const BadText& text, std::ostream* out)
{
    *out << text.name;
}

class ParseBadText : public ::testing::TestWithParam<BadText>
{
};

TEST_P(ParseBadText, ThrowsSayingWhatAndWhere)
{
    try {
        ParseTraceConnections(GetParam().text);
        FAIL() << "no error for " << GetParam().text.toStdString();
    } catch (const ETraceConfiguration& error) {
        EXPECT_TRUE(error.Message().contains(GetParam().fault)) << error.Message().toStdString();
        EXPECT_TRUE(error.Message().endsWith(GetParam().where)) << error.Message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseBadText,
    ::testing::Values(
        BadText {"UnknownProtocol", u"pipe(), tcp(host=x)"_s, u"unknown protocol \"tcp\""_s, u"position 9"_s},
        BadText {"UnterminatedQuote", u"file(filename=\"/tmp/a.sil)"_s, u"unterminated quote"_s, u"position 15"_s},
        BadText {"UnterminatedParenthesis", u"pipe(reconnect=true"_s, u"unterminated parenthesis"_s, u"position 5"_s},
        BadText {"UnterminatedAfterComma", u"pipe(reconnect=true, "_s, u"unterminated parenthesis"_s, u"position 5"_s},
        BadText {"MissingEquals", u"pipe(reconnect true)"_s, u"missing \"=\""_s, u"position 16"_s},
        BadText {"MissingValue", u"pipe(reconnect=)"_s, u"missing value"_s, u"position 16"_s},
        BadText {"EmptyQuotedName", u"file(filename=\"\")"_s, u"empty value"_s, u"position 15"_s},
        BadText {"NoParenthesis", u"pipe"_s, u"expected \"(\""_s, u"at the end (position 5)"_s},
        BadText {"TrailingComma", u"pipe(),"_s, u"expected a protocol name"_s, u"at the end (position 8)"_s},
        BadText {"MissingCommaBetweenProtocols", u"pipe() pipe()"_s, u"expected \",\""_s, u"position 8"_s},
        BadText {"BareValueWithParenthesis", u"file(filename=/tmp/a(1).sil)"_s, u"expected \",\" or \")\""_s,
                 u"position 21"_s},
        BadText {"UnknownOption", u"pipe(colour=red)"_s, u"unknown option \"colour\""_s, u"position 6"_s},
        BadText {"OptionTwice", u"pipe(reconnect=true, Reconnect=false)"_s, u"given twice"_s, u"position 22"_s},
        BadText {"FileWithoutName", u"file(maxsize=10)"_s, u"needs the option \"filename\""_s, u"position 1"_s},
        BadText {"BadBoolean", u"pipe(reconnect=yes)"_s, u"\"yes\" is not true or false"_s, u"position 16"_s},
        BadText {"NegativeInterval", u"pipe(reconnect.interval=-1)"_s, u"not a number of seconds"_s, u"position 25"_s},
        BadText {"BadSize", u"file(filename=a, maxsize=\"12 TB\")"_s, u"option \"maxsize\""_s, u"position 26"_s}));

struct SizeCase
{
    QString text;
    qint64 bytes; // 0: not a size
};

class SizeValue : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(SizeValue, IsKiBUnlessItHasAUnit)
{
    if (GetParam().bytes > 0)
        EXPECT_EQ(TraceOptionSizeBytes(GetParam().text), GetParam().bytes);
    else
        EXPECT_THROW(TraceOptionSizeBytes(GetParam().text), ETraceConfiguration);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizeValue,
                         ::testing::Values(SizeCase {u"20480"_s, 20480LL * 1024}, SizeCase {u"1kb"_s, 1024},
                                           SizeCase {u"2MB"_s, 2LL << 20}, SizeCase {u"3 Gb"_s, 3LL << 30},
                                           SizeCase {u" 7 "_s, 7 * 1024}, SizeCase {u"0"_s, 0}, SizeCase {u"-1"_s, 0},
                                           SizeCase {u"1.5MB"_s, 0}, SizeCase {u"MB"_s, 0}, SizeCase {u"1TB"_s, 0},
                                           SizeCase {QString(), 0}, SizeCase {u"99999999999GB"_s, 0},
                                           SizeCase {u"99999999999999999999"_s, 0}));

TEST(TraceOptionValues, BooleansInAnyCaseAndWholeSeconds)
{
    EXPECT_TRUE(TraceOptionBool(u"TRUE"_s));
    EXPECT_FALSE(TraceOptionBool(u"False"_s));
    EXPECT_THROW(TraceOptionBool(u"1"_s), ETraceConfiguration);
    EXPECT_EQ(TraceOptionSeconds(u"10"_s), std::chrono::seconds(10));
    EXPECT_EQ(TraceOptionSeconds(u"0"_s), std::chrono::seconds(0));
    EXPECT_THROW(TraceOptionSeconds(u"1.5"_s), ETraceConfiguration);
    EXPECT_THROW(TraceOptionSeconds(u"99999999999999999"_s), ETraceConfiguration);
}

} // namespace
