// SPDX-License-Identifier: GPL-3.0-or-later

#include "TraceTestSupport.h"

#include "trace/FileTraceSink.h"
#include "trace/Trace.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString Contents(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class FileTrace : public TraceTest
{
protected:
    void SetUp() override
    {
        TraceTest::SetUp();
        ASSERT_TRUE(folder.isValid());
    }

    void Configure(const QString& options)
    {
        Trace::Configure(u"Kestrun Event Controller for OrvixIt!"_s,
                         u"file(filename=\"%1\"%2)"_s.arg(fileName, options.isEmpty() ? QString() : u", "_s + options));
    }

    QTemporaryDir folder;
    // The folders below do not exist yet: the sink makes them.
    QString fileName = folder.filePath(u"Kestrun/Traces/KestrunEventControllerForOrvixIt.sil"_s);
    QString previousPart = folder.filePath(u"Kestrun/Traces/KestrunEventControllerForOrvixIt.1.sil"_s);
};

TEST_F(FileTrace, EntriesAreReadableLinesWithValuesAndIndentedDumps)
{
    Configure(u"maxsize=20480, append=true"_s);
    Trace::Value(u"Main::FormCreate:Application started", u"0.1.0.1"_s);
    Handset handset;
    Trace::Object(u"Phone::Ring:Handset", &handset);
    Trace::Exception(u"Main::Run:Failed", ETraceConfiguration(u"bad text"_s));

    const QStringList lines = Contents(fileName).split(u'\n');
    const QRegularExpression head(u"^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} (.*)$"_s);
    ASSERT_EQ(lines.size(), 1 + 1 + 4 + 1 + 1) << Contents(fileName).toStdString();
    EXPECT_EQ(head.match(lines[0]).captured(1), u"Debug   Main::FormCreate:Application started = 0.1.0.1"_s);
    EXPECT_EQ(head.match(lines[1]).captured(1), u"Debug   Phone::Ring:Handset"_s);
    EXPECT_EQ(lines[2], u"    caller=Anna Berg <sip:anna@example.org>"_s);
    EXPECT_EQ(lines[5], u"    accounts=[work, home, private]"_s);
    EXPECT_EQ(head.match(lines[6]).captured(1), u"Error   Main::Run:Failed = ETraceConfiguration: bad text"_s);
    EXPECT_EQ(lines[7], QString()) << "the file ends with a line break";
}

TEST_F(FileTrace, AppendDecidesWhetherTheOldTraceStays)
{
    for (const bool append : {true, false}) {
        Configure(u"append=false"_s);
        Trace::Message(u"Old");
        Trace::Configure({}, {}); // closes the file
        Configure(append ? u"append=true"_s : u"append=false"_s);
        Trace::Message(u"New");
        Trace::Flush();
        const QString contents = Contents(fileName);
        EXPECT_EQ(contents.contains(u"Old"_s), append) << "append=" << append;
        EXPECT_TRUE(contents.contains(u"New"_s));
    }
}

TEST_F(FileTrace, StaysWithinItsSizeKeepingThePreviousPart)
{
    Configure(u"maxsize=1, append=true"_s); // 1 KiB
    for (int i = 0; i < 300; ++i)
        Trace::Value(u"Load::Run:Entry", i);
    Trace::Strings(u"Load::Run:Huge", QStringList(200, u"ä much too long for one file"_s));
    Trace::Value(u"Load::Run:Last", u"end"_s);
    Trace::Flush();

    EXPECT_LE(QFileInfo(fileName).size(), 1024);
    EXPECT_LE(QFileInfo(previousPart).size(), 1024);
    EXPECT_GT(QFileInfo(previousPart).size(), 0);
    EXPECT_TRUE(Contents(fileName).endsWith(u"Load::Run:Last = end\n"_s));
    const QString cut = Contents(previousPart);
    EXPECT_TRUE(cut.contains(u"Load::Run:Huge"_s) && cut.endsWith(u" [cut]\n"_s)) << cut.toStdString();
    EXPECT_FALSE(cut.contains(QChar::ReplacementCharacter)) << "cut at a character boundary";
}

TEST_F(FileTrace, ClearEmptiesTheFileAndRemovesThePreviousPart)
{
    Configure(u"maxsize=1, append=true"_s);
    for (int i = 0; i < 100; ++i)
        Trace::Value(u"Load::Run:Entry", i);
    Trace::Flush();
    ASSERT_TRUE(QFile::exists(previousPart));

    Trace::Clear();
    EXPECT_EQ(QFileInfo(fileName).size(), 0);
    EXPECT_FALSE(QFile::exists(previousPart));

    Trace::Message(u"AfterClear");
    Trace::Flush();
    EXPECT_TRUE(Contents(fileName).contains(u"AfterClear"_s));
    EXPECT_FALSE(Contents(fileName).contains(u"Load::Run"_s));
}

TEST_F(FileTrace, PartsHoldTheLatestEntriesInOrderAfterManyChanges)
{
    Configure(u"maxsize=1, append=true"_s);
    constexpr int Count = 2000;
    for (int i = 0; i < Count; ++i)
        Trace::Value(u"Load::Run:Entry", i);
    Trace::Flush();

    EXPECT_LE(QFileInfo(fileName).size(), 1024);
    EXPECT_LE(QFileInfo(previousPart).size(), 1024);
    const QString both = Contents(previousPart) + Contents(fileName);
    const QStringList lines = both.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 10);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype expected = Count - lines.size() + i;
        EXPECT_TRUE(lines[i].endsWith(u"Load::Run:Entry = "_s + QString::number(expected))) << lines[i].toStdString();
    }
}

// A handset whose properties never change after it is made.
class SteadyHandset : public Handset, public TraceRevisioned
{
public:
    quint64 TraceRevision() const override { return m_revision; }

private:
    const quint64 m_revision = NextRevision();
};

// An entry that names an unchanged object refers to its dump: the dump must still be in the
// current part or the previous one, also when that very entry starts a new part.
TEST_F(FileTrace, AnUnchangedObjectsDumpStaysInTheKeptParts)
{
    Configure(u"maxsize=1, append=true"_s);
    const SteadyHandset handset;
    for (int i = 0; i < 150; ++i) {
        Trace::ObjectOnce(u"Phone::Ring:Handset", &handset, u"Handset"_s, u" (unchanged)");
        Trace::Value(u"Load::Run:Entry", i);
        Trace::Flush();
        const QString kept = Contents(previousPart) + Contents(fileName);
        ASSERT_TRUE(kept.contains(u"    caller=Anna Berg"_s)) << "check " << i << ":\n" << kept.toStdString();
        ASSERT_TRUE(kept.contains(u"Load::Run:Entry = %1\n"_s.arg(i)));
    }
}

TEST_F(FileTrace, EntriesOfEveryThreadReachTheFileWholeAndInTheirOrder)
{
    Configure(u"append=true"_s);
    constexpr int Threads = 4;
    constexpr int PerThread = 2000;
    TraceFromThreads(Threads, PerThread);
    Trace::Flush();

    const QStringList lines = Contents(fileName).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), Threads * PerThread);
    std::vector<int> next(Threads, 0);
    const QRegularExpression entry(u"Worker::Run:Thread (\\d) = (\\d+)$"_s);
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = entry.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        EXPECT_EQ(match.captured(2).toInt(), next[match.captured(1).toInt()]++);
    }
}

TEST_F(FileTrace, AnEntryReachesTheFileWithoutAFlush)
{
    Configure(u"append=true"_s);
    Trace::Message(u"Lonely::Entry");
    // Far longer than the sink's latency: only a sink that never writes by itself fails.
    QDeadlineTimer patience(30000);
    while (!Contents(fileName).contains(u"Lonely::Entry"_s) && !patience.hasExpired())
        QThread::msleep(10);
    EXPECT_TRUE(Contents(fileName).contains(u"Lonely::Entry"_s));
}

TEST_F(FileTrace, WriteFailureIsAnOwnError)
{
    FileTraceSink sink(fileName, 0, false);
    // Replace the folder by a file: the sink can neither write nor reopen after a clear.
    ASSERT_TRUE(QDir(folder.filePath(u"Kestrun"_s)).removeRecursively());
    QFile blocker(folder.filePath(u"Kestrun"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(sink.Clear(), ETraceOutput);
    EXPECT_THROW(sink.Write(TraceEntry {}), ETraceOutput);
}

TEST(FileTraceSink, RejectsALimitNoEntryFitsIn)
{
    QTemporaryDir folder;
    EXPECT_THROW(FileTraceSink(folder.filePath(u"x.sil"_s), 10, false), ETraceConfiguration);
    EXPECT_THROW(FileTraceSink(QString(), 0, false), ETraceConfiguration);
}

} // namespace
