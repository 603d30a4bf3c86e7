// SPDX-License-Identifier: GPL-3.0-or-later

#include "VelquistTestSupport.h"

#include "TraceCapture.h"
#include "parameters/Velquist.h"
#include "parameters/VelquistResult.h"

#include <QThreadPool>

namespace {

const QString KestrunFile = QStringLiteral("Kestrun/Event Controller for OrvixIt.ini");
const QString HalvexFile = QStringLiteral("Brannet/Halvex Client.ini");
const QString OrvixFile = QStringLiteral("Orvix/OrvixIt!.ini");

TVelquist::THostNames TestHostNames()
{
    return {.defaultPbxServer = QStringLiteral("pbx.test"),
            .defaultVelquistServer = QStringLiteral("velquist.test"),
            .localComputer = QStringLiteral("thishost")};
}

struct CandidateCase
{
    const char* name;
    QByteArray userKestrun;
    QByteArray machineKestrun;
    QByteArray halvex;
    QByteArray orvix;
    QStringList expected;
    QByteArray machineHalvex = {};
};

inline void PrintTo(const CandidateCase& c, std::ostream* os)
{
    *os << c.name;
}

class CandidateTest : public VelquistFixture, public ::testing::WithParamInterface<CandidateCase>
{
};

const QStringList FixedHosts = {QStringLiteral("velquist.test"), QStringLiteral("thishost:9980"),
                                QStringLiteral("thishost")};

} // namespace

TEST_P(CandidateTest, FollowsTheSettingsInOrder)
{
    const CandidateCase& c = GetParam();
    if (!c.userKestrun.isNull())
        m_settings.WriteUserFile(KestrunFile, c.userKestrun);
    if (!c.machineKestrun.isNull())
        m_settings.WriteMachineFile(KestrunFile, c.machineKestrun);
    if (!c.halvex.isNull())
        m_settings.WriteUserFile(HalvexFile, c.halvex);
    if (!c.orvix.isNull())
        m_settings.WriteUserFile(OrvixFile, c.orvix);
    if (!c.machineHalvex.isNull())
        m_settings.WriteMachineFile(HalvexFile, c.machineHalvex);

    TVelquist velquist;
    velquist.SetHostNames(TestHostNames());
    EXPECT_EQ(velquist.ServerCandidates(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CandidateTest,
    ::testing::Values(
        CandidateCase {"NothingSet", {}, {}, {}, {}, QStringList {"pbx.test"} + FixedHosts},
        CandidateCase {"UserServerBeatsMachineServer",
                       "VelquistServer=dir.user:8080\n",
                       "VelquistServer=dir.machine\n",
                       {},
                       {},
                       QStringList {"dir.user:8080", "pbx.test"} + FixedHosts},
        CandidateCase {"MachineServerWhenUserHasNone",
                       {},
                       "VelquistServer=dir.machine\n",
                       {},
                       {},
                       QStringList {"dir.machine", "pbx.test"} + FixedHosts},
        CandidateCase {"EmptyUserServerHidesMachineServer",
                       "VelquistServer=\n",
                       "VelquistServer=dir.machine\n",
                       {},
                       {},
                       QStringList {"pbx.test"} + FixedHosts},
        CandidateCase {"ConfiguredPbxServer",
                       {},
                       {},
                       "[CurrentVersion]\nOptions\\UsePbxServerFromAutoDetection=0\nOptions\\PbxServer=pbx.halvex\n",
                       {},
                       QStringList {"pbx.halvex"} + FixedHosts},
        CandidateCase {"PbxServerFromTheSecondKey",
                       {},
                       {},
                       "[CurrentVersion]\nOptions\\UsePbxServerFromAutoDetection=0\n",
                       "[CurrentVersion]\nOptions\\PbxServer=pbx.orvix\n",
                       QStringList {"pbx.orvix"} + FixedHosts},
        CandidateCase {"OnlyTheSecondKey",
                       {},
                       {},
                       {},
                       "[CurrentVersion]\nOptions\\UsePbxServerFromAutoDetection=0\nOptions\\PbxServer=pbx.orvix\n",
                       QStringList {"pbx.orvix"} + FixedHosts},
        CandidateCase {"FirstKeyDecidesAutoDetection",
                       {},
                       {},
                       "[CurrentVersion]\nOptions\\UsePbxServerFromAutoDetection=1\nOptions\\PbxServer=pbx.halvex\n",
                       "[CurrentVersion]\nOptions\\UsePbxServerFromAutoDetection=0\n",
                       QStringList {"pbx.test"} + FixedHosts},
        CandidateCase {"NoAutoDetectionAndNoPbxServer",
                       {},
                       {},
                       "[CurrentVersion]\nOptions\\UsePbxServerFromAutoDetection=0\n",
                       {},
                       FixedHosts},
        CandidateCase {"SoftphoneOptionsOnlyFromTheUser",
                       {},
                       {},
                       {},
                       {},
                       QStringList {"pbx.test"} + FixedHosts,
                       "[CurrentVersion]\nOptions\\UsePbxServerFromAutoDetection=0\nOptions\\PbxServer=pbx.machine\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class DiscoveryTest : public VelquistFixture
{
};

TEST_F(DiscoveryTest, ProbeAcceptsOnlyTheDirectoryServerWhateverItsStatus)
{
    struct Case
    {
        int status;
        std::string server;
        bool accepted;
    };
    const Case cases[] = {
        {200, "Kestrun Velquist/4.2", true},
        {500, "Kestrun Velquist", true},
        {404, "kestrun velquist (test)", true},
        {200, "nginx/1.22.1", false},
        {200, "", false},
    };
    LocalHttpServer server;
    TVelquist velquist;
    for (const Case& c : cases) {
        server.SetAnswer({.status = c.status, .server = c.server});
        EXPECT_EQ(velquist.CheckServer(server.Host(), false), c.accepted) << c.status << " " << c.server;
    }
    EXPECT_EQ(server.Requests().back().target, "/Velquist/AutoDiscovery");
    EXPECT_EQ(server.Requests().back().method, "GET");
}

TEST_F(DiscoveryTest, ProbeFailsOnRefusalTlsMismatchAndSilence)
{
    TraceCapture trace;
    LocalHttpServer server;
    TVelquist velquist;
    velquist.SetProbeLimits(QuickLimits());

    EXPECT_FALSE(velquist.CheckServer(RefusingHost(), false));
    EXPECT_FALSE(velquist.CheckServer(server.Host(), true));
    server.SetAnswer({.hang = true});
    EXPECT_FALSE(velquist.CheckServer(server.Host(), false));

    EXPECT_EQ(trace.Count(QStringLiteral("Velquist::CheckServer:Server not responding")), 3);
    EXPECT_FALSE(trace.LastValue(QStringLiteral("Velquist::CheckServer:Server responese")).isEmpty());
}

TEST_F(DiscoveryTest, SelectsTheFirstCandidateThatAnswersOverHttp)
{
    TraceCapture trace;
    LocalHttpServer stranger;
    stranger.SetAnswer({.server = "Apache/2.4"});
    LocalHttpServer directory;
    TVelquist velquist;

    velquist.SelectServer({RefusingHost(), stranger.Host(), directory.Host()});

    const QString expected = QStringLiteral("http://") + directory.Host();
    EXPECT_EQ(TVelquist::BaseUrl(), expected);
    EXPECT_EQ(trace.LastValue(QStringLiteral("Velquist::Create:Selected server Url")), expected);
}

TEST_F(DiscoveryTest, NoCandidateAnsweringLeavesLookupsInactive)
{
    TraceCapture trace;
    TVelquist velquist;
    velquist.SelectServer({RefusingHost(), RefusingHost()});
    EXPECT_TRUE(TVelquist::BaseUrl().isEmpty());

    EXPECT_TRUE(
        TVelquistResult()
            .GetResult(1, QStringLiteral("0301234567"), QStringLiteral("searchnumber"), QStringLiteral("kestrunclient"))
            .isEmpty());
    EXPECT_TRUE(trace.Has(QStringLiteral("Velquist::GetResult:Velquist not active, aborting...")));
}

TEST_F(DiscoveryTest, DiscoverServersReadsCatalogueAndFindsTheConfiguredServer)
{
    TraceCapture trace;
    LocalHttpServer directory;
    m_settings.WriteUserFile(KestrunFile, "VelquistServer=" + directory.Host().toUtf8() + "\n");
    TVelquist velquist;
    velquist.SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    velquist.SetHostNames(
        {.defaultPbxServer = RefusingHost(), .defaultVelquistServer = RefusingHost(), .localComputer = RefusingHost()});

    velquist.DiscoverServers();

    EXPECT_EQ(TVelquist::BaseUrl(), QStringLiteral("http://") + directory.Host());
    EXPECT_FALSE(velquist.LDAPFields().isEmpty());
    EXPECT_TRUE(trace.Has(QStringLiteral("Velquist::DiscoverServers:Server list")));
}

// While the worker waits for a slow candidate the main thread's lookups are
// skipped; once it is done they go to the selected server.
TEST_F(DiscoveryTest, LookupsDuringDiscoverySeeNoServerThenTheFinishedResult)
{
    LocalHttpServer directory;
    directory.SetAnswer({.hang = true});
    m_settings.WriteUserFile(KestrunFile, "VelquistServer=" + directory.Host().toUtf8() + "\n");
    auto velquist = std::make_shared<TVelquist>();
    velquist->SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    velquist->SetHostNames({RefusingHost(), RefusingHost(), RefusingHost()});
    velquist->SetProbeLimits(HttpLimits {.connectTimeout = 1000ms, .totalTimeout = 60s});

    TVelquist::StartDiscovery(velquist);
    ASSERT_TRUE(WaitFor([&] { return directory.HangingRequests() == 1; }));
    EXPECT_TRUE(TVelquist::BaseUrl().isEmpty());
    EXPECT_TRUE(velquist->IsNumberField(QStringLiteral("telephonemobile")));
    EXPECT_TRUE(TVelquistResult().GetResult(1, QStringLiteral("1"), QStringLiteral("searchnumber"), {}).isEmpty());
    EXPECT_EQ(directory.Requests().size(), 1u);

    directory.SetAnswer({});
    directory.Release();
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(30000));
    EXPECT_EQ(TVelquist::BaseUrl(), QStringLiteral("http://") + directory.Host());
}

// At shutdown the rules are saved; a directory server that does not answer must not keep
// the program from ending.
TEST_F(DiscoveryTest, CancelledDiscoveryAbandonsTheProbeAndTriesNoFurtherCandidate)
{
    TraceCapture trace;
    LocalHttpServer directory;
    directory.SetAnswer({.hang = true});
    LocalHttpServer later;
    m_settings.WriteUserFile(KestrunFile, "VelquistServer=" + directory.Host().toUtf8() + "\n");
    auto velquist = std::make_shared<TVelquist>();
    velquist->SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    velquist->SetHostNames({later.Host(), RefusingHost(), RefusingHost()});
    velquist->SetProbeLimits(HttpLimits {.connectTimeout = 1000ms, .totalTimeout = 60s});

    TVelquist::StartDiscovery(velquist);
    ASSERT_TRUE(WaitFor([&] { return directory.HangingRequests() == 1; }));
    velquist->Cancel();

    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(30000));
    EXPECT_EQ(directory.HangingRequests(), 1) << "the probe was abandoned, not answered";
    EXPECT_TRUE(later.Requests().empty());
    EXPECT_TRUE(TVelquist::BaseUrl().isEmpty());
    EXPECT_TRUE(trace.Has(QStringLiteral("Velquist::DiscoverServers:Discovery cancelled")));
}
