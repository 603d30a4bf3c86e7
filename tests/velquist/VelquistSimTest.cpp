// SPDX-License-Identifier: GPL-3.0-or-later

#include "ParameterRun.h"
#include "VelquistSimProcess.h"
#include "VelquistTestSupport.h"

#include "model/OrvixLine.h"
#include "parameters/ParameterVelquist.h"
#include "parameters/VelquistResult.h"
#include "rulesfile/Parameters.h"

namespace {

// velquist-sim on a free port of 127.0.0.1 with the shipped demo contacts.
class VelquistSimTest : public VelquistFixture
{
protected:
    void SetUp() override
    {
        VelquistFixture::SetUp();
        m_host = m_sim.Start(QStringLiteral(VELQUIST_SIM), QStringLiteral(VELQUIST_SIM_CONTACTS));
        ASSERT_FALSE(m_host.isEmpty()) << m_sim.Output().toStdString();
    }

    void TearDown() override
    {
        m_sim.Stop();
        VelquistFixture::TearDown();
    }

    QString BaseUrl() const { return QStringLiteral("http://") + m_host; }

    VelquistSimProcess m_sim;
    QString m_host;
};

} // namespace

TEST_F(VelquistSimTest, IsFoundAndAnswersTheDemoCallerByNumber)
{
    auto model = std::make_shared<TParameters>();
    model->Velquist()->SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    model->Velquist()->ReadLDAPFields();
    model->Velquist()->SelectServer({RefusingHost(), m_host});
    TVelquist::SetInUse(model->Velquist());
    ASSERT_EQ(TVelquist::BaseUrl(), BaseUrl());

    auto line = std::make_shared<TOrvixLine>();
    line->SetCallId(1);
    line->SetUserVariable(QStringLiteral("Anrufer"), QStringLiteral("0301234567"));
    TParameterVelquist parameter;
    parameter.SetOrvixLine(line);
    parameter.SetSearchOptionOrvix(false);
    parameter.SetSearchOptionUser(true);
    parameter.SetSearchOptionUserValue(QStringLiteral("Anrufer"));
    parameter.SetParameterValue(QStringLiteral("company"));

    EXPECT_EQ(Resolve(parameter).result, QStringLiteral("Berg Logistik GmbH"));
    EXPECT_EQ(line->GetUserVariableResult(QStringLiteral("custom0")), QStringLiteral("Premiumkunde"));
    EXPECT_EQ(line->GetUserVariableResult(QStringLiteral("custom1")), QStringLiteral("Rückruf bis 16 Uhr"));
}

TEST_F(VelquistSimTest, SearchesByNumberTextAndField)
{
    struct Case
    {
        const char* searchField;
        const char* searchKey;
        const char* displayName;
    };
    const Case cases[] = {
        {"searchnumber", "+49 30 1234567", "Anna Berg"},
        {"searchnumber", "0049301234567", "Anna Berg"},
        {"searchnumber", "+33142001122", "Sophie Laurent"},
        {"searchnumber", "0301234599", ""},
        {"searchcontact", "KELLER, SOHN", "Jonas Keller"},
        {"searchcontact", "0301234567", ""},
        {"TelephoneMobile", "+49 160 5550123", "Jonas Keller"},
        {"city", "düsseldorf", "Mehmet Yılmaz"},
        {"department", "it", "Lukas Brandt"},
        {"searchindividual", "k-40007", "Sophie Laurent"},
    };
    TVelquist::SetBaseUrl(BaseUrl());
    for (const Case& c : cases) {
        const TVelquistDictionary fields = TVelquistResult().GetResult(
            3, QString::fromUtf8(c.searchKey), QString::fromUtf8(c.searchField), QStringLiteral("kestrunclient"));
        EXPECT_EQ(fields.value(QStringLiteral("displayname")), QString::fromUtf8(c.displayName))
            << c.searchField << " " << c.searchKey;
    }
}

TEST_F(VelquistSimTest, RejectsMalformedRequestsAndKeepsServing)
{
    const std::string search = "/Velquist/GetSearchResults?PostType=KeyValue&CallID=5";
    const std::string form = "application/x-www-form-urlencoded";
    const std::pair<std::string, std::string> malformed[] = {
        {search, "SearchType=searchnumber&SearchKey=%zz&SearchNode=x"},
        {search, "SearchType=searchnumber&SearchNode=x"},
        {search, "SearchType=searchnumber&SearchKey&SearchNode=x"},
        {search, "SearchType=lookup&SearchKey=1"},
        {search, "SearchType=SearchField&SearchKey=1"},
        {search, "SearchField=shoesize&SearchType=SearchField&SearchKey=1"},
        {search, "SearchType=searchcontact&SearchKey=%FF"},
        {"/Velquist/GetSearchResults?PostType=KeyValue", "SearchType=searchnumber&SearchKey=1"},
        {"/Velquist/GetSearchResults?PostType=Xml&CallID=5", "SearchType=searchnumber&SearchKey=1"},
        {"/Velquist/GetSearchResults?PostType=KeyValue&CallID=five", "SearchType=searchnumber&SearchKey=1"},
    };
    httplib::Client client("127.0.0.1", m_host.section(u':', 1).toInt());
    client.set_read_timeout(30, 0);
    for (const auto& [target, body] : malformed) {
        const httplib::Result result = client.Post(target, body, form);
        ASSERT_TRUE(result) << target << " " << body;
        EXPECT_EQ(result->status, 400) << target << " " << body;
        EXPECT_EQ(result->get_header_value("Server"), "Kestrun Velquist/1.0 (velquist-sim)");
    }

    const httplib::Result probe = client.Get("/Velquist/AutoDiscovery");
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->status, 200);
    TVelquist::SetBaseUrl(BaseUrl());
    EXPECT_FALSE(TVelquistResult()
                     .GetResult(5, QStringLiteral("Berg"), QStringLiteral("searchcontact"), QStringLiteral("x"))
                     .isEmpty());
}
