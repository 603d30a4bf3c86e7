// SPDX-License-Identifier: GPL-3.0-or-later

#include "VelquistTestSupport.h"

#include "TraceCapture.h"
#include "history/LookupCache.h"
#include "parameters/VelquistResult.h"

#include <optional>

namespace {

const std::string Found = "<DataSet><diffgr:diffgram><R><Table><displayname>Anna Berg</displayname>"
                          "<company>Berg Logistik GmbH</company></Table></R></diffgr:diffgram></DataSet>";
const std::string NotFound = "<DataSet><diffgr:diffgram><R/></diffgr:diffgram></DataSet>";

// Directory lookups with a cache in use whose clock the test moves on.
class LookupCacheTest : public VelquistFixture
{
protected:
    void SetUp() override
    {
        VelquistFixture::SetUp();
        cache->SetClock([this] { return now; });
        TLookupCache::SetInUse(cache);
    }

    void TearDown() override
    {
        TLookupCache::SetInUse(nullptr);
        VelquistFixture::TearDown();
    }

    TVelquistDictionary Search(const QString& key = QStringLiteral("+49301234567"))
    {
        return TVelquistResult(QuickLimits())
            .GetResult(7, key, QStringLiteral("searchnumber"), QStringLiteral("kestrunclient"));
    }

    void Serve(const std::string& body)
    {
        server.emplace();
        server->SetAnswer({.body = body});
        TVelquist::SetBaseUrl(QStringLiteral("http://") + server->Host());
    }

    // The server goes away and its address refuses.
    void StopServer()
    {
        server.reset();
        TVelquist::SetBaseUrl(QStringLiteral("http://") + RefusingHost());
    }

    QDateTime now {QDate(2026, 12, 11), QTime(9, 0)};
    std::shared_ptr<TLookupCache> cache = std::make_shared<TLookupCache>();
    std::optional<LocalHttpServer> server;
    TraceCapture trace;
};

} // namespace

TEST_F(LookupCacheTest, CachedAnswerServesWhileTheServerIsDownAndAfterItsTimeOnlyThen)
{
    Serve(Found);
    EXPECT_EQ(Search().value(QStringLiteral("company")), QStringLiteral("Berg Logistik GmbH"));
    StopServer();

    now = now.addDays(6);
    trace.Clear();
    EXPECT_EQ(Search().value(QStringLiteral("company")), QStringLiteral("Berg Logistik GmbH"));
    EXPECT_TRUE(trace.Has(QStringLiteral("Velquist::GetResult:Answer from the cache")));

    // Expired: the server is asked first, and the old answer only stands in for it.
    now = now.addDays(2);
    trace.Clear();
    EXPECT_EQ(Search().value(QStringLiteral("displayname")), QStringLiteral("Anna Berg"));
    EXPECT_TRUE(
        trace.Has(QStringLiteral("Velquist::GetResult:No answer from the server, expired answer from the cache used")));
    EXPECT_TRUE(trace.Has(QStringLiteral("Velquist::GetResult")));

    // A server that answers again replaces the expired answer.
    Serve(NotFound);
    EXPECT_TRUE(Search().isEmpty());
    EXPECT_EQ(server->Requests().size(), 1u);
}

TEST_F(LookupCacheTest, FreshAnswerComesAtOnceAndIsRefreshedInTheBackground)
{
    Serve(Found);
    Search();
    ASSERT_EQ(server->Requests().size(), 1u);
    now = now.addSecs(3600);
    EXPECT_FALSE(Search().isEmpty());
    EXPECT_TRUE(WaitFor([&] { return server->Requests().size() == 2u; })) << "refreshed from the server";
    EXPECT_TRUE(WaitFor([&] { return trace.Has(QStringLiteral("Velquist::GetResult:Cached answer refreshed")); }));
}

TEST_F(LookupCacheTest, NotFoundIsKeptForTenMinutesOnly)
{
    Serve(NotFound);
    EXPECT_TRUE(Search().isEmpty());
    now = now.addSecs(9 * 60);
    EXPECT_TRUE(Search().isEmpty());
    EXPECT_EQ(server->Requests().size(), 1u) << "answered from the cache, not refreshed";

    server->SetAnswer({.body = Found});
    now = now.addSecs(2 * 60);
    EXPECT_EQ(Search().value(QStringLiteral("displayname")), QStringLiteral("Anna Berg"));
    EXPECT_EQ(server->Requests().size(), 2u);
}

TEST_F(LookupCacheTest, KeysOfOtherSearchesAreNotMixedUp)
{
    Serve(Found);
    Search(QStringLiteral("+49301234567"));
    StopServer();
    EXPECT_TRUE(Search(QStringLiteral("+49309999999")).isEmpty());
    EXPECT_TRUE(TVelquistResult(QuickLimits())
                    .GetResult(7, QStringLiteral("+49301234567"), QStringLiteral("searchcontact"),
                               QStringLiteral("kestrunclient"))
                    .isEmpty());
    EXPECT_EQ(cache->LatestFound(QStringLiteral("+49301234567")).value(QStringLiteral("company")),
              QStringLiteral("Berg Logistik GmbH"));
}
