// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/TraceLine.h"

#include "trace/Trace.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// 2026-12-09 23:50:01.123 UTC; the line shows it in local time.
constexpr qint64 When = 1796860201123;

QString LocalTime()
{
    return QDateTime::fromMSecsSinceEpoch(When).toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s);
}

struct LineCase
{
    const char* name;
    TraceEntry entry;
    QString afterTime;
};

void PrintTo(const LineCase& line, std::ostream* out)
{
    *out << line.name;
}

class TraceLineFormat : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(TraceLineFormat, StartsWithLocalTimeAndLevel)
{
    TraceEntry entry = GetParam().entry;
    entry.msecsSinceEpoch = When;
    EXPECT_EQ(QString::fromUtf8(::TraceLineText(entry)), LocalTime() + u' ' + GetParam().afterTime);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TraceLineFormat,
    ::testing::Values(
        LineCase {"Value",
                  {0, TraceLevel::Debug, TraceKind::Value, u"Main::FormCreate:Application started"_s, u"0.1.0.1"_s},
                  u"Debug   Main::FormCreate:Application started = 0.1.0.1"_s},
        LineCase {"EmptyValue",
                  {0, TraceLevel::Debug, TraceKind::Value, u"A::B:Name"_s, QString()},
                  u"Debug   A::B:Name = "_s},
        LineCase {
            "Message", {0, TraceLevel::Debug, TraceKind::Message, u"A::B:Ready"_s, QString()}, u"Debug   A::B:Ready"_s},
        LineCase {"WarningWithDetail",
                  {0, TraceLevel::Warning, TraceKind::Warning, u"A::B:Slow"_s, u"3 s"_s},
                  u"Warning A::B:Slow = 3 s"_s},
        LineCase {"Object",
                  {0, TraceLevel::Debug, TraceKind::Object, u"A::B:Obj"_s, u"a=1\nb=Ünï"_s},
                  u"Debug   A::B:Obj\n    a=1\n    b=Ünï"_s},
        LineCase {"OneString",
                  {0, TraceLevel::Debug, TraceKind::Strings, u"A::B:List"_s, u"only"_s},
                  u"Debug   A::B:List\n    only"_s},
        LineCase {
            "EmptyObject", {0, TraceLevel::Debug, TraceKind::Object, u"A::B:Obj"_s, QString()}, u"Debug   A::B:Obj"_s},
        LineCase {"MultiLineText",
                  {0, TraceLevel::Error, TraceKind::Error, u"A::B:Failed"_s, u"one\ntwo"_s},
                  u"Error   A::B:Failed\n    one\n    two"_s},
        // What a caller sends must not clear a terminal that follows the file, nor start a forged entry.
        LineCase {"ControlCharactersEscaped",
                  {0, TraceLevel::Debug, TraceKind::Value, u"A::B:Caller"_s,
                   u"Anna\r2026-01-01 Error   Fake\u001b[2J\u0007\u007f\u009b\u0000\tend"_s},
                  u"Debug   A::B:Caller = Anna\\r2026-01-01 Error   Fake\\x1b[2J\\x07\\x7f\\x9b\\x00\tend"_s},
        LineCase {"ControlCharactersEscapedInEveryLineOfABlock",
                  {0, TraceLevel::Debug, TraceKind::Strings, u"A::B:Names"_s, u"a\rb\nc\u001bd"_s},
                  u"Debug   A::B:Names\n    a\\rb\n    c\\x1bd"_s},
        LineCase {"LineBreakInATitleEscaped",
                  {0, TraceLevel::Debug, TraceKind::Message, u"A::B:Line\nforged"_s, QString()},
                  u"Debug   A::B:Line\\nforged"_s},
        LineCase {"Enter",
                  {0, TraceLevel::Debug, TraceKind::EnterMethod, u"Main::FormCreate"_s, QString()},
                  u"Debug   -> Main::FormCreate"_s},
        LineCase {"Leave",
                  {0, TraceLevel::Debug, TraceKind::LeaveMethod, u"Main::FormCreate"_s, QString()},
                  u"Debug   <- Main::FormCreate"_s}));

} // namespace
