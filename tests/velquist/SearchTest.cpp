// SPDX-License-Identifier: GPL-3.0-or-later

#include "VelquistTestSupport.h"

#include "TraceCapture.h"
#include "parameters/VelquistResult.h"

#include <QTimer>

namespace {

struct FormCase
{
    const char* searchField;
    const char* searchKey;
    const char* searchNode;
    const char* body;
};

inline void PrintTo(const FormCase& c, std::ostream* os)
{
    *os << c.searchField << " " << c.searchKey;
}

class SearchFormTest : public VelquistFixture, public ::testing::WithParamInterface<FormCase>
{
};

struct AnswerCase
{
    const char* name;
    const char* answer;
    TVelquistDictionary fields;
};

inline void PrintTo(const AnswerCase& c, std::ostream* os)
{
    *os << c.name;
}

class AnswerTest : public ::testing::TestWithParam<AnswerCase>
{
};

std::string Diffgram(const std::string& records)
{
    return "<DataSet><xs:schema id=\"R\"/><diffgr:diffgram><R>" + records + "</R></diffgr:diffgram></DataSet>";
}

} // namespace

TEST_P(SearchFormTest, PostsTheFieldsInOrderEncodedAsUtf8)
{
    const FormCase& c = GetParam();
    LocalHttpServer server;
    TVelquist::SetBaseUrl(QStringLiteral("http://") + server.Host());

    TVelquistResult().GetResult(42, QString::fromUtf8(c.searchKey), QString::fromUtf8(c.searchField),
                                QString::fromUtf8(c.searchNode));

    ASSERT_EQ(server.Requests().size(), 1u);
    const LocalHttpServer::Request request = server.Requests().front();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/Velquist/GetSearchResults?PostType=KeyValue&CallID=42");
    EXPECT_EQ(request.contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(request.body, c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SearchFormTest,
    ::testing::Values(
        FormCase {"searchnumber", "+49 30 1234567", "kestrunclient",
                  "SearchType=searchnumber&SearchKey=%2B49%2030%201234567&SearchNode=kestrunclient"},
        FormCase {"SearchNumber", "0301234567", "kestrunclient",
                  "SearchType=searchnumber&SearchKey=0301234567&SearchNode=kestrunclient"},
        FormCase {"searchcontact", "Müller & Söhne", "quarvo",
                  "SearchType=searchcontact&SearchKey=M%C3%BCller%20%26%20S%C3%B6hne&SearchNode=quarvo"},
        FormCase {"searchindividual", "a=b", "kestruneventcontroller",
                  "SearchType=searchindividual&SearchKey=a%3Db&SearchNode=kestruneventcontroller"},
        FormCase {
            "TelephoneMobile", "0171 2345678", "kestrunserver",
            "SearchField=telephonemobile&SearchType=SearchField&SearchKey=0171%202345678&SearchNode=kestrunserver"}));

TEST_P(AnswerTest, TakesTheFieldsOfTheFirstRecord)
{
    EXPECT_EQ(TVelquistResult::HandleResult(GetParam().answer), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnswerTest,
    ::testing::Values(
        AnswerCase {"FirstRecordOnly",
                    "<DataSet><xs:schema id=\"R\"/><diffgr:diffgram><R>"
                    "<T><surname>Berg</surname><custom0/><notes><![CDATA[a < b]]></notes></T>"
                    "<T><surname>Keller</surname><city>Hamburg</city></T>"
                    "</R></diffgr:diffgram></DataSet>",
                    {{"surname", "Berg"}, {"custom0", ""}, {"notes", "a < b"}}},
        AnswerCase {"NoDiffgram", "<DataSet><R><T><surname>Berg</surname></T></R></DataSet>", {}},
        AnswerCase {"DiffgramNotAChildOfTheRoot",
                    "<Envelope><Body><diffgr:diffgram><R><T><surname>Berg</surname></T></R></diffgr:diffgram></Body>"
                    "</Envelope>",
                    {}},
        AnswerCase {"EmptyDiffgram", "<DataSet><diffgr:diffgram/></DataSet>", {}},
        AnswerCase {"EmptyDataSet", "<DataSet><diffgr:diffgram><R/></diffgr:diffgram></DataSet>", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnswerErrorTest, UnreadableAnswersAndRepeatedFieldsAreErrors)
{
    for (const char* answer : {"", "<DataSet><diffgr:diffgram>", "Service unavailable",
                               "<DataSet><diffgr:diffgram><R><T><a>1</a><a>2</a></T></R></diffgr:diffgram></DataSet>"})
        EXPECT_THROW(TVelquistResult::HandleResult(answer), EKestrunError) << answer;
}

using SearchFailureTest = VelquistFixture;

// Whatever goes wrong, the lookup yields nothing and says why under "Velquist::GetResult".
TEST_F(SearchFailureTest, FailedSearchesYieldNoFields)
{
    const std::string record = Diffgram("<T><surname>Berg</surname></T>");
    struct Case
    {
        const char* name;
        LocalHttpServer::Answer answer;
    };
    const Case cases[] = {
        {"error status", {.status = 500, .body = record}},
        {"repeated field", {.body = Diffgram("<T><surname>Berg</surname><surname>Keller</surname></T>")}},
        {"not XML", {.body = "<html><body>Login</body>"}},
        {"too large", {.body = Diffgram("<T><notes>" + std::string(128 * 1024, 'x') + "</notes></T>")}},
        {"no answer", {.body = record, .hang = true}},
    };
    LocalHttpServer server;
    TVelquist::SetBaseUrl(QStringLiteral("http://") + server.Host());
    const TVelquistResult search(QuickLimits());
    for (const Case& c : cases) {
        TraceCapture trace;
        server.SetAnswer(c.answer);
        EXPECT_TRUE(search.GetResult(1, QStringLiteral("Berg"), QStringLiteral("surname"), {}).isEmpty()) << c.name;
        EXPECT_TRUE(trace.Has(QStringLiteral("Velquist::GetResult"))) << c.name;
    }

    server.Release();
    server.SetAnswer({.body = record});
    EXPECT_EQ(search.GetResult(1, QStringLiteral("Berg"), QStringLiteral("surname"), {}),
              (TVelquistDictionary {{"surname", "Berg"}}));
}

// What the settings dialog's test tells the user: found, not found, or why there is no answer.
TEST_F(SearchFailureTest, SearchSaysWhyItFoundNothing)
{
    const TVelquistResult search(QuickLimits());
    EXPECT_EQ(search.Search(1, QStringLiteral("Berg"), QStringLiteral("surname"), {}).Outcome,
              TVelquistSearch::NoServer);

    struct Case
    {
        const char* name;
        LocalHttpServer::Answer answer;
        TVelquistSearch::TOutcome outcome;
    };
    const Case cases[] = {
        {"record", {.body = Diffgram("<T><surname>Berg</surname></T>")}, TVelquistSearch::Found},
        {"no record", {.body = Diffgram("")}, TVelquistSearch::NotFound},
        {"error status", {.status = 500, .body = Diffgram("")}, TVelquistSearch::Failed},
        {"no answer", {.body = Diffgram(""), .hang = true}, TVelquistSearch::TimedOut},
    };
    LocalHttpServer server;
    TVelquist::SetBaseUrl(QStringLiteral("http://") + server.Host());
    for (const Case& c : cases) {
        server.SetAnswer(c.answer);
        const TVelquistSearch result = search.Search(1, QStringLiteral("Berg"), QStringLiteral("surname"), {});
        EXPECT_EQ(result.Outcome, c.outcome) << c.name;
        EXPECT_EQ(result.Error.isEmpty(), c.outcome == TVelquistSearch::Found || c.outcome == TVelquistSearch::NotFound)
            << c.name;
    }
    TVelquist::SetBaseUrl(QStringLiteral("http://") + RefusingHost());
    EXPECT_EQ(search.Search(1, QStringLiteral("Berg"), QStringLiteral("surname"), {}).Outcome,
              TVelquistSearch::Unreachable);
}

TEST_F(SearchFailureTest, SearchIsTracedStepByStep)
{
    TraceCapture trace;
    LocalHttpServer server;
    server.SetAnswer({.body = Diffgram("<T><surname>Berg</surname></T>")});
    TVelquist::SetBaseUrl(QStringLiteral("http://") + server.Host());

    TVelquistResult().GetResult(7, QStringLiteral("Berg"), QStringLiteral("surname"), QStringLiteral("kestrunclient"));

    const QStringList expected = {
        "Velquist::GetResult:SearchType",
        "Velquist::GetResult:SearchKey",
        "Velquist::GetResult:SearchNode",
        "Velquist::GetResult:SearchField",
        "Velquist::GetResult:Url",
        "Velquist::GetResult:PostData",
        "Velquist::GetResult:Sending POST request with timeout 3 seconds",
        "Velquist::GetResult:Result",
    };
    EXPECT_EQ(trace.Titles(), expected);
    EXPECT_EQ(trace.LastValue(QStringLiteral("Velquist::GetResult:SearchType")), QStringLiteral("SearchField"));
    EXPECT_EQ(trace.LastValue(QStringLiteral("Velquist::GetResult:SearchField")), QStringLiteral("surname"));
}

// While the server takes its time, the program goes on: notifications, timers
// and other calls' rules run during the wait, as during a modal window.
TEST_F(SearchFailureTest, TheProgramGoesOnWhileASearchWaits)
{
    LocalHttpServer server;
    TVelquist::SetBaseUrl(QStringLiteral("http://") + server.Host());
    server.SetAnswer({.body = Diffgram("<T><surname>Berg</surname></T>"), .hang = true});
    bool ranDuringTheWait = false;
    QTimer::singleShot(0, [&] {
        ranDuringTheWait = true;
        server.Release();
    });
    EXPECT_EQ(TVelquistResult().GetResult(1, QStringLiteral("Berg"), QStringLiteral("surname"), {}),
              (TVelquistDictionary {{"surname", "Berg"}}));
    EXPECT_TRUE(ranDuringTheWait);
}

// Shutdown cancels the client in use; a search waiting on a silent server ends at once.
TEST_F(SearchFailureTest, ShutdownEndsASearchThatWaits)
{
    LocalHttpServer server;
    TVelquist::SetBaseUrl(QStringLiteral("http://") + server.Host());
    server.SetAnswer({.body = Diffgram("<T><surname>Berg</surname></T>"), .hang = true});
    auto client = std::make_shared<TVelquist>();
    TVelquist::SetInUse(client);
    TraceCapture trace;
    // Cancelled once the server holds the request, however long the request takes to get there.
    QTimer cancelOnceHeld;
    QObject::connect(&cancelOnceHeld, &QTimer::timeout, [&] {
        if (server.HangingRequests() == 1) {
            cancelOnceHeld.stop();
            client->Cancel();
        }
    });
    cancelOnceHeld.start(5);
    EXPECT_TRUE(TVelquistResult().GetResult(1, QStringLiteral("Berg"), QStringLiteral("surname"), {}).isEmpty());
    EXPECT_TRUE(trace.Has(QStringLiteral("Velquist::GetResult:Search ended, the program is shutting down")));
    EXPECT_EQ(server.HangingRequests(), 1) << "ended without waiting for the server";
}
