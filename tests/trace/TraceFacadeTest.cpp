// SPDX-License-Identifier: GPL-3.0-or-later

#include "TraceTestSupport.h"

#include "trace/Trace.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

struct EntryCase
{
    const char* name;
    std::function<void()> write;
    TraceKind kind;
    TraceLevel level;
    QString title;
    QString value;
};

void PrintTo(const EntryCase& entry, std::ostream* out)
{
    *out << entry.name;
}

class TraceEntries : public TraceTest, public ::testing::WithParamInterface<EntryCase>
{
};

TEST_P(TraceEntries, ReachTheSinkWithTitleAsGivenAndRenderedValue)
{
    GetParam().write();
    const std::vector<TraceEntry> entries = memory->Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].kind, GetParam().kind);
    EXPECT_EQ(entries[0].level, GetParam().level);
    EXPECT_EQ(entries[0].title, GetParam().title);
    EXPECT_EQ(entries[0].value, GetParam().value);
    EXPECT_GT(entries[0].msecsSinceEpoch, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TraceEntries,
    ::testing::Values(
        EntryCase {"Message", [] { Trace::Message(u"Main::FormCreate:Application started"); }, TraceKind::Message,
                   TraceLevel::Debug, u"Main::FormCreate:Application started"_s, QString()},
        EntryCase {"TitleKeptAsIs", [] { Trace::Message(u"  Ünit::Fünc: a = b :  "_s); }, TraceKind::Message,
                   TraceLevel::Debug, u"  Ünit::Fünc: a = b :  "_s, QString()},
        EntryCase {"Text", [] { Trace::Value(u"Main::FormCreate:Application started", u"0.1.0.1"_s); },
                   TraceKind::Value, TraceLevel::Debug, u"Main::FormCreate:Application started"_s, u"0.1.0.1"_s},
        EntryCase {"Utf8Text", [] { Trace::Value("Call::Dial:Number", "+49 30 \xc3\xa4"); }, TraceKind::Value,
                   TraceLevel::Debug, u"Call::Dial:Number"_s, u"+49 30 ä"_s},
        EntryCase {"Integer", [] { Trace::Value(u"Call::Dial:Lines", -3); }, TraceKind::Value, TraceLevel::Debug,
                   u"Call::Dial:Lines"_s, u"-3"_s},
        EntryCase {"LargeInteger", [] { Trace::Value(u"Call::Dial:Id", qint64(1) << 40); }, TraceKind::Value,
                   TraceLevel::Debug, u"Call::Dial:Id"_s, u"1099511627776"_s},
        EntryCase {"True", [] { Trace::Value(u"Call::Dial:Muted", true); }, TraceKind::Value, TraceLevel::Debug,
                   u"Call::Dial:Muted"_s, u"True"_s},
        EntryCase {"False", [] { Trace::Value(u"Call::Dial:Muted", false); }, TraceKind::Value, TraceLevel::Debug,
                   u"Call::Dial:Muted"_s, u"False"_s},
        EntryCase {"Double", [] { Trace::Value(u"Call::Dial:Volume", 0.1); }, TraceKind::Value, TraceLevel::Debug,
                   u"Call::Dial:Volume"_s, u"0.1"_s},
        EntryCase {"Strings",
                   [] {
                       Trace::Strings(u"Main::Run:Args", {u"-a"_s, u"b c"_s});
                   },
                   TraceKind::Strings, TraceLevel::Debug, u"Main::Run:Args"_s, u"-a\nb c"_s},
        EntryCase {"Warning", [] { Trace::Warning(u"Tray::Show:No tray", u"offscreen"_s); }, TraceKind::Warning,
                   TraceLevel::Warning, u"Tray::Show:No tray"_s, u"offscreen"_s},
        EntryCase {"Error", [] { Trace::Error(u"Call::Dial:Failed"); }, TraceKind::Error, TraceLevel::Error,
                   u"Call::Dial:Failed"_s, QString()},
        EntryCase {"OwnException", [] { Trace::Exception(u"Main::Run:Failed", ETraceConfiguration(u"bad ö"_s)); },
                   TraceKind::Exception, TraceLevel::Error, u"Main::Run:Failed"_s, u"ETraceConfiguration: bad ö"_s},
        EntryCase {"StdException", [] { Trace::Exception(u"Main::Run:Failed", std::out_of_range("index 7")); },
                   TraceKind::Exception, TraceLevel::Error, u"Main::Run:Failed"_s, u"std::out_of_range: index 7"_s},
        EntryCase {"Enter", [] { Trace::EnterMethod(u"Main::FormCreate"); }, TraceKind::EnterMethod, TraceLevel::Debug,
                   u"Main::FormCreate"_s, QString()},
        EntryCase {"Leave", [] { Trace::LeaveMethod(u"Main::FormCreate"); }, TraceKind::LeaveMethod, TraceLevel::Debug,
                   u"Main::FormCreate"_s, QString()}));

TEST_F(TraceTest, TraceMethodMarksEnterAndLeaveAroundTheScope)
{
    {
        const TraceMethod method(u"Main::FormCreate"_s);
        Trace::Message(u"Main::FormCreate:Inside");
    }
    const std::vector<TraceEntry> entries = memory->Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].kind, TraceKind::EnterMethod);
    EXPECT_EQ(entries[0].title, u"Main::FormCreate"_s);
    EXPECT_EQ(entries[1].title, u"Main::FormCreate:Inside"_s);
    EXPECT_EQ(entries[2].kind, TraceKind::LeaveMethod);
    EXPECT_EQ(entries[2].title, u"Main::FormCreate"_s);
}

TEST_F(TraceTest, LeaveMarkIsWrittenWhenTheScopeUnwinds)
{
    try {
        const TraceMethod method(u"Call::Dial"_s);
        throw std::runtime_error("no line");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(memory->Titles(), (QStringList {u"Call::Dial"_s, u"Call::Dial"_s}));
    EXPECT_EQ(memory->Entries().back().kind, TraceKind::LeaveMethod);
}

TEST_F(TraceTest, LevelAndSwitchDecideWhatIsWritten)
{
    const auto writeAll = [] {
        Trace::Message(u"M");
        Trace::Warning(u"W");
        Trace::Error(u"E");
        Trace::Exception(u"X", std::runtime_error("x"));
    };
    Trace::SetLevel(TraceLevel::Warning);
    writeAll();
    EXPECT_EQ(memory->Titles(), (QStringList {u"W"_s, u"E"_s, u"X"_s}));
    EXPECT_FALSE(Trace::IsOn(TraceLevel::Debug));
    EXPECT_TRUE(Trace::IsOn(TraceLevel::Fatal));

    memory->Clear();
    Trace::SetLevel(TraceLevel::Error);
    writeAll();
    EXPECT_EQ(memory->Titles(), (QStringList {u"E"_s, u"X"_s}));

    memory->Clear();
    Trace::SetEnabled(false);
    writeAll();
    EXPECT_TRUE(memory->Titles().isEmpty());
    EXPECT_FALSE(Trace::IsOn(TraceLevel::Fatal));
}

TEST_F(TraceTest, ClearEmptiesEverySinkEvenWhenOff)
{
    const auto second = std::make_shared<MemoryTraceSink>();
    Trace::AddSink(second);
    Trace::Message(u"Before");
    Trace::SetEnabled(false);
    Trace::Clear();
    EXPECT_TRUE(memory->Entries().empty());
    EXPECT_TRUE(second->Entries().empty());
}

TEST_F(TraceTest, RemovedSinkGetsNothingMore)
{
    Trace::Message(u"One");
    Trace::RemoveSink(memory);
    Trace::Message(u"Two");
    EXPECT_EQ(memory->Titles(), QStringList {u"One"_s});
}

class FailingSink : public TraceSink
{
public:
    void Write(const TraceEntry&) override
    {
        ++writes;
        throw ETraceOutput(u"disk full"_s);
    }
    void Clear() override { throw std::runtime_error("cannot clear"); }
    int writes = 0;
};

TEST_F(TraceTest, FailingSinkDoesNotStopTheOthersNorTheCaller)
{
    const auto failing = std::make_shared<FailingSink>();
    Trace::RemoveSink(memory);
    Trace::AddSink(failing);
    Trace::AddSink(memory);
    EXPECT_NO_THROW(Trace::Message(u"One"));
    EXPECT_NO_THROW(Trace::Message(u"Two"));
    EXPECT_NO_THROW(Trace::Clear());
    Trace::Message(u"Three");
    EXPECT_EQ(failing->writes, 3);
    EXPECT_EQ(memory->Titles(), QStringList {u"Three"_s});
}

// A sink that traces itself, as a Qt message handler writing to the trace would.
class TracingSink : public TraceSink
{
public:
    void Write(const TraceEntry& entry) override
    {
        ++writes;
        Trace::Value(u"TracingSink::Write:Title", entry.title);
    }
    void Clear() override { Trace::Message(u"TracingSink::Clear"); }
    int writes = 0;
};

TEST_F(TraceTest, SinkThatTracesDoesNotDeadlockNorRecurse)
{
    const auto tracing = std::make_shared<TracingSink>();
    Trace::AddSink(tracing);
    Trace::Message(u"Outer");
    Trace::Clear();
    EXPECT_EQ(tracing->writes, 1);
    EXPECT_TRUE(memory->Entries().empty());
}

TEST_F(TraceTest, EntriesFromSeveralThreadsAllArriveWhole)
{
    constexpr int Threads = 4;
    constexpr int PerThread = 300;
    TraceFromThreads(Threads, PerThread);

    const std::vector<TraceEntry> entries = memory->Entries();
    ASSERT_EQ(entries.size(), std::size_t(Threads * PerThread));
    std::vector<int> next(Threads, 0);
    for (const TraceEntry& entry : entries) {
        const int thread = entry.title.section(u' ', -1).toInt();
        EXPECT_EQ(entry.value.toInt(), next[thread]++) << "entries of one thread keep their order";
    }
}

TEST_F(TraceTest, ConfigureReplacesOnlyItsOwnSinksAndOnlyForAValidText)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString first = folder.filePath(u"first.sil"_s);
    const QString second = folder.filePath(u"second.sil"_s);

    Trace::Configure(u"Kestrun Event Controller for OrvixIt!"_s, u"file(filename=\"%1\")"_s.arg(first));
    Trace::Message(u"ToFirst");
    EXPECT_THROW(Trace::Configure(u"Other"_s, u"file(filename=\"%1\"), bogus()"_s.arg(second)), ETraceConfiguration);
    EXPECT_EQ(Trace::ApplicationName(), u"Kestrun Event Controller for OrvixIt!"_s);
    Trace::Message(u"StillToFirst");
    Trace::Configure(u"Other"_s, u"file(filename=\"%1\")"_s.arg(second));
    Trace::Message(u"ToSecond");
    Trace::Flush();

    const auto contents = [](const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_TRUE(contents(first).contains(u"StillToFirst"_s));
    EXPECT_FALSE(contents(first).contains(u"ToSecond"_s));
    EXPECT_TRUE(contents(second).contains(u"ToSecond"_s));
    EXPECT_EQ(memory->Titles(), (QStringList {u"ToFirst"_s, u"StillToFirst"_s, u"ToSecond"_s}));
    EXPECT_EQ(Trace::ApplicationName(), u"Other"_s);
}

TEST_F(TraceTest, ConfigureThatCannotOpenItsFileKeepsTheOldSinks)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile blocker(folder.filePath(u"blocker"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString first = folder.filePath(u"first.sil"_s);

    Trace::Configure(u"App"_s, u"file(filename=\"%1\")"_s.arg(first));
    try {
        Trace::Configure(u"App"_s, u"file(filename=\"%1\")"_s.arg(folder.filePath(u"blocker/sub/x.sil"_s)));
        FAIL() << "a file below a file cannot be opened";
    } catch (const ETraceConfiguration& error) {
        EXPECT_TRUE(error.Message().contains(u"blocker/sub"_s)) << error.Message().toStdString();
    }
    Trace::Message(u"StillWritten");
    Trace::Flush();
    QFile file(first);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("StillWritten"));
}

} // namespace
