// SPDX-License-Identifier: GPL-3.0-or-later

#include "TraceTestSupport.h"

#include "platform/RuntimeFolder.h"
#include "trace/PipeTraceSink.h"
#include "trace/Trace.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Generous: only a broken sink makes a test wait this long.
constexpr int DeadlineMs = 20000;

TraceEntry Entry(const QString& title, const QString& value = {})
{
    return {QDateTime::currentMSecsSinceEpoch(), TraceLevel::Debug, TraceKind::Value, title, value};
}

// A trace viewer: listens where the sink connects and collects the lines it gets.
class Viewer
{
public:
    explicit Viewer(const QString& path)
    {
        QLocalServer::removeServer(path);
        EXPECT_TRUE(m_server.listen(path)) << m_server.errorString().toStdString();
    }

    bool Accept(int timeoutMs = DeadlineMs)
    {
        if (!m_server.waitForNewConnection(timeoutMs))
            return false;
        m_socket.reset(m_server.nextPendingConnection());
        return m_socket != nullptr;
    }

    // Reads until a line contains the text; false when the deadline passes first.
    bool WaitForLine(const QString& text)
    {
        const QDeadlineTimer deadline(DeadlineMs);
        while (!Received().contains(text)) {
            if (deadline.hasExpired() || !m_socket)
                return false;
            m_socket->waitForReadyRead(50);
            m_received += QString::fromUtf8(m_socket->readAll());
        }
        return true;
    }

    QString Received() const { return m_received; }
    void DropConnection() { m_socket.reset(); }
    void Close()
    {
        m_socket.reset();
        m_server.close();
    }

private:
    QLocalServer m_server;
    std::unique_ptr<QLocalSocket> m_socket;
    QString m_received;
};

class PipeTrace : public TraceTest
{
protected:
    void SetUp() override
    {
        TraceTest::SetUp();
        ASSERT_TRUE(folder.isValid());
    }

    QTemporaryDir folder;
    QString path = folder.filePath(u"viewer"_s);
};

TEST_F(PipeTrace, ViewerReceivesEntriesAsLinesAndClearAsMark)
{
    Viewer viewer(path);
    PipeTraceSink sink(path, false, 0ms);
    ASSERT_TRUE(viewer.Accept());
    EXPECT_TRUE(sink.IsConnected());

    sink.Write(Entry(u"Main::FormCreate:Application started"_s, u"0.1.0.1"_s));
    sink.Write({0, TraceLevel::Debug, TraceKind::Object, u"Phone::Ring:Handset"_s, u"a=1\nb=2"_s});
    sink.Clear();
    ASSERT_TRUE(viewer.WaitForLine(u"#clear\n"_s)) << viewer.Received().toStdString();

    const QStringList lines = viewer.Received().split(u'\n');
    ASSERT_EQ(lines.size(), 6) << viewer.Received().toStdString();
    EXPECT_TRUE(lines[0].endsWith(u" Debug   Main::FormCreate:Application started = 0.1.0.1"_s));
    EXPECT_TRUE(lines[1].endsWith(u" Debug   Phone::Ring:Handset"_s));
    EXPECT_EQ(lines[2], u"    a=1"_s);
    EXPECT_EQ(lines[3], u"    b=2"_s);
    EXPECT_EQ(lines[4], u"#clear"_s);
}

TEST_F(PipeTrace, WithoutViewerEntriesAreDroppedUntilOneAppears)
{
    PipeTraceSink sink(path, true, 20ms);
    for (int i = 0; i < 1000; ++i)
        sink.Write(Entry(u"Lost::Entry:Number"_s, QString::number(i)));
    EXPECT_FALSE(sink.IsConnected());

    Viewer viewer(path);
    const QDeadlineTimer deadline(DeadlineMs);
    while (!sink.IsConnected() && !deadline.hasExpired())
        sink.Write(Entry(u"Probe::Entry:Waiting"_s));
    ASSERT_TRUE(sink.IsConnected());
    ASSERT_TRUE(viewer.Accept());
    sink.Write(Entry(u"Found::Entry:Viewer"_s));
    EXPECT_TRUE(viewer.WaitForLine(u"Found::Entry:Viewer"_s));
    EXPECT_FALSE(viewer.Received().contains(u"Lost::Entry"_s));
}

TEST_F(PipeTrace, ViewerThatLeavesNeitherBlocksNorKillsTheWriter)
{
    for (const bool reconnect : {false, true}) {
        Viewer viewer(path);
        PipeTraceSink sink(path, reconnect, 0ms);
        ASSERT_TRUE(viewer.Accept());
        viewer.Close();

        // The first send after the viewer left may still succeed into the buffer; SIGPIPE would end the test.
        const QDeadlineTimer deadline(DeadlineMs);
        while (sink.IsConnected() && !deadline.hasExpired())
            sink.Write(Entry(u"Gone::Entry:Viewer"_s));
        EXPECT_FALSE(sink.IsConnected());

        Viewer next(path);
        for (int i = 0; i < 10; ++i)
            sink.Write(Entry(u"Next::Entry:Viewer"_s));
        EXPECT_EQ(sink.IsConnected(), reconnect) << "reconnect=" << reconnect;
    }
}

TEST_F(PipeTrace, ViewerThatDoesNotReadLosesTheConnectionNotTheWriter)
{
    Viewer viewer(path);
    PipeTraceSink sink(path, true, 1h);
    ASSERT_TRUE(viewer.Accept());
    const QString value(4096, u'x');
    // Far more than a socket buffer holds; a blocking send would hang here.
    for (int i = 0; i < 4000 && sink.IsConnected(); ++i)
        sink.Write(Entry(u"Flood::Entry:Big"_s, value));
    EXPECT_FALSE(sink.IsConnected());
    sink.Write(Entry(u"Flood::Entry:After"_s));
    EXPECT_FALSE(sink.IsConnected()) << "no new attempt before the interval";
}

TEST_F(PipeTrace, ConfiguredPipeIsNamedAfterTheApplication)
{
    const QString name = u"KestrunEventControllerforOrvixIt"_s;
    EXPECT_EQ(PipeTraceSink::NameOf(u"Kestrun Event Controller for OrvixIt!"_s), name);
    EXPECT_EQ(PipeTraceSink::SocketPathOf(name), UserRuntimePath() + u'/' + name);
    EXPECT_EQ(PipeTraceSink::SocketPathOf(path), path);

    // Where QLocalServer listens for the same name, so a viewer finds the trace.
    QLocalServer server;
    ASSERT_TRUE(server.listen(folder.filePath(u"probe"_s)));
    EXPECT_EQ(PipeTraceSink::SocketPathOf(folder.filePath(u"probe"_s)), server.fullServerName());
}

TEST_F(PipeTrace, ConfigureConnectsTheTraceToTheViewer)
{
    Viewer viewer(path);
    Trace::Configure(u"Kestrun Event Controller for OrvixIt!"_s,
                     u"pipe(pipename=\"%1\", reconnect=true, reconnect.interval=10)"_s.arg(path));
    ASSERT_TRUE(viewer.Accept());
    Trace::Value(u"Main::FormCreate:Application started", u"0.1.0.1"_s);
    EXPECT_TRUE(viewer.WaitForLine(u"Main::FormCreate:Application started = 0.1.0.1\n"_s));
}

TEST(PipeTraceSink, RejectsNamesNoSocketCanHave)
{
    EXPECT_THROW(PipeTraceSink(QString(), true, 0ms), ETraceConfiguration);
    EXPECT_THROW(PipeTraceSink(u"/tmp/"_s + QString(200, u'n'), true, 0ms), ETraceConfiguration);
    EXPECT_THROW(Trace::Configure(u"!!!"_s, u"pipe()"_s), ETraceConfiguration);
}

} // namespace
