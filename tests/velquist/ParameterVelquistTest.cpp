// SPDX-License-Identifier: GPL-3.0-or-later

#include "ParameterRun.h"
#include "VelquistTestSupport.h"

#include "TraceCapture.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterVelquist.h"
#include "rulesfile/Parameters.h"

#include <QUrlQuery>

namespace {

std::string Record(const std::string& fields)
{
    return "<DataSet><diffgr:diffgram><R><T>" + fields + "</T></R></diffgr:diffgram></DataSet>";
}

// A lookup on call 7 whose search value is the user variable "Nummer", against a
// local server, with the shipped catalogue and a softphone that converts numbers.
class ParameterVelquistTest : public VelquistFixture
{
protected:
    void SetUp() override
    {
        VelquistFixture::SetUp();
        auto model = std::make_shared<TParameters>();
        model->Velquist()->SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
        model->Velquist()->ReadLDAPFields();
        TVelquist::SetInUse(model->Velquist());
        LineManagerService::SetInstance(&m_softphone);
        TVelquist::SetBaseUrl(QStringLiteral("http://") + m_server.Host());

        m_line->SetCallId(7);
        m_parameter.SetOrvixLine(m_line);
        m_parameter.SetSearchOptionOrvix(false);
        m_parameter.SetSearchOptionUser(true);
        m_parameter.SetSearchOptionUserValue(QStringLiteral("Nummer"));
    }

    QString SentSearchKey() const
    {
        const auto requests = m_server.Requests();
        if (requests.empty())
            return {};
        return QUrlQuery(QString::fromStdString(requests.back().body))
            .queryItemValue(QStringLiteral("SearchKey"), QUrl::FullyDecoded);
    }

    GermanLineManager m_softphone;
    LocalHttpServer m_server;
    std::shared_ptr<TOrvixLine> m_line = std::make_shared<TOrvixLine>();
    TParameterVelquist m_parameter;
};

struct ConversionCase
{
    const char* searchField;
    const char* value;
    const char* sent;
};

inline void PrintTo(const ConversionCase& c, std::ostream* os)
{
    *os << c.searchField << " \"" << c.value << "\"";
}

class SearchValueTest : public ParameterVelquistTest, public ::testing::WithParamInterface<ConversionCase>
{
};

} // namespace

TEST_P(SearchValueTest, IsTrimmedAndConvertedOnlyForNumberSearches)
{
    m_parameter.SetSearchField(QString::fromUtf8(GetParam().searchField));
    m_line->SetUserVariable(QStringLiteral("Nummer"), QString::fromUtf8(GetParam().value));
    Resolve(m_parameter);
    EXPECT_EQ(SentSearchKey(), QString::fromUtf8(GetParam().sent));
}

INSTANTIATE_TEST_SUITE_P(Fields, SearchValueTest,
                         ::testing::Values(ConversionCase {"searchnumber", " 030 1234567\t", "+49301234567"},
                                           ConversionCase {"SearchNumber", "030 1234567", "030 1234567"},
                                           ConversionCase {"telephonemobile", "0171/2345678", "+491712345678"},
                                           ConversionCase {"TelephoneMobile", "0171/2345678", "0171/2345678"},
                                           ConversionCase {"city", " Berlin ", "Berlin"},
                                           ConversionCase {"searchcontact", "0301234567", "0301234567"}));

TEST_F(ParameterVelquistTest, ReturnsTheNamedFieldAndKeepsCustomFieldsAsUserVariables)
{
    m_line->SetUserVariable(QStringLiteral("Nummer"), QStringLiteral("0301234567"));
    m_server.SetAnswer({.body = Record("<surname>Berg</surname><Custom0>Premiumkunde</Custom0>"
                                       "<custom1_hint>Rückruf bis 16 Uhr</custom1_hint><custom2>frei</custom2>")});
    m_parameter.SetParameterValue(QStringLiteral("company"));

    EXPECT_EQ(Resolve(m_parameter).result, QString());
    EXPECT_EQ(m_line->GetUserVariableResult(QStringLiteral("Custom0")), QStringLiteral("Premiumkunde"));
    EXPECT_EQ(m_line->GetUserVariableResult(QStringLiteral("custom1_hint")), QStringLiteral("Rückruf bis 16 Uhr"));
    EXPECT_FALSE(m_line->TemporaryVariables().contains(QStringLiteral("custom2")));

    m_server.SetAnswer({.body = Record("<company>Berg Logistik GmbH</company><Custom0>Standard</Custom0>")});
    EXPECT_EQ(Resolve(m_parameter).result, QStringLiteral("Berg Logistik GmbH"));
    EXPECT_EQ(m_line->GetUserVariableResult(QStringLiteral("Custom0")), QStringLiteral("Standard"));

    m_parameter.SetParameterValue(QStringLiteral("Company"));
    EXPECT_EQ(Resolve(m_parameter).result, QString());
}

TEST_F(ParameterVelquistTest, CancelsTheActionOnlyWhenAskedAndNothingIsFound)
{
    struct Case
    {
        const char* name;
        const char* searchValue;
        std::string answer;
        bool cancelOnNoResult;
        bool cancelled;
    };
    const Case cases[] = {
        {"found", "0301234567", Record("<surname>Berg</surname>"), true, false},
        {"nothing found", "0301234567", Record(""), true, true},
        {"field missing", "0301234567", Record("<company>Berg</company>"), true, true},
        {"no search value", "   ", Record("<surname>Berg</surname>"), true, true},
        {"not asked to cancel", "0301234567", Record(""), false, false},
    };
    m_parameter.SetParameterValue(QStringLiteral("surname"));
    for (const Case& c : cases) {
        m_line->SetUserVariable(QStringLiteral("Nummer"), QString::fromUtf8(c.searchValue));
        m_server.SetAnswer({.body = c.answer});
        m_parameter.SetCancelOnNoResult(c.cancelOnNoResult);
        EXPECT_EQ(Resolve(m_parameter).cancelled, c.cancelled) << c.name;
    }
    EXPECT_EQ(m_server.Requests().size(), 4u) << "a blank search value is not sent";

    TVelquist::SetBaseUrl({});
    m_parameter.SetCancelOnNoResult(true);
    const Resolution resolution = Resolve(m_parameter);
    EXPECT_EQ(resolution.result, QString());
    EXPECT_TRUE(resolution.cancelled) << "no server";
}

TEST_F(ParameterVelquistTest, TracesEachStep)
{
    TraceCapture trace;
    m_line->SetUserVariable(QStringLiteral("Nummer"), QStringLiteral("0301234567"));
    m_server.SetAnswer({.body = Record("<surname>Berg</surname><city>Berlin</city>")});
    m_parameter.SetParameterValue(QStringLiteral("city"));
    Resolve(m_parameter);

    QStringList own = trace.Titles().filter(QStringLiteral("ParameterVelquist::"));
    EXPECT_EQ(
        own,
        (QStringList {"ParameterVelquist::GetParamResult:Get variable value",
                      "ParameterVelquist::GetParamResult:Resolved variable result",
                      "ParameterVelquist::GetParamResult:Result Field: ",
                      "ParameterVelquist::GetParamResult:Result Field: ", "ParameterVelquist::GetParamResult:Result"}));
    EXPECT_EQ(trace.LastValue(QStringLiteral("ParameterVelquist::GetParamResult:Result")), QStringLiteral("Berlin"));

    trace.Clear();
    m_line->SetUserVariable(QStringLiteral("Nummer"), QString());
    Resolve(m_parameter);
    EXPECT_TRUE(trace.Has(QStringLiteral("ParameterVelquist::GetParamResult:No search value, aborting search...")));
}

TEST_F(ParameterVelquistTest, TakesTheCallValueUnlessAUserVariableIsChosenToo)
{
    m_line->SetCallerNumber(QStringLiteral("0301234567"));
    m_line->SetUserVariable(QStringLiteral("Nummer"), QStringLiteral("040 987650"));
    m_parameter.SetSearchOptionOrvix(true);
    m_parameter.SetSearchOptionOrvixValue(QStringLiteral("orvixCallerNumber"));

    m_parameter.SetSearchOptionUser(false);
    Resolve(m_parameter);
    EXPECT_EQ(SentSearchKey(), QStringLiteral("+49301234567"));

    m_parameter.SetSearchOptionUser(true);
    Resolve(m_parameter);
    EXPECT_EQ(SentSearchKey(), QStringLiteral("+4940987650"));
}
