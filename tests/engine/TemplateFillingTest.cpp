// SPDX-License-Identifier: GPL-3.0-or-later

#include "ScopedEnvironment.h"
#include "TemplateTestSupport.h"
#include "TraceCapture.h"

#include "engine/TemplateFilling.h"
#include "model/BaseAction.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "rulesfile/Parameters.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// An action resolved against a call from Anna Meier, with a call value, an
// environment variable and a fixed text among its parameters.
class ResolvedAction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* caller = new TParameterOrvix;
        caller->SetParameterValue(QStringLiteral("orvixCallerName"));
        auto* user = new TParameterSystem;
        user->SetParamType(spEnvironmentVariable);
        user->SetEnvironmentalVariable(QStringLiteral("KESTRUN_TEMPLATE_USER"));
        auto* customer = new TParameterUser;
        customer->SetParameterValue(QStringLiteral("<b>\"Meier\" & Co</b>"));
        for (TBaseParameter* parameter : {static_cast<TBaseParameter*>(caller), static_cast<TBaseParameter*>(user),
                                          static_cast<TBaseParameter*>(customer)})
            action.AddNewItem(parameter);

        action.ExecuteAction(context);
    }

    ScopedEnvironment environment {"KESTRUN_TEMPLATE_USER", QByteArray("jdoe")};
    TemplateFolder folder;
    TBaseAction action;
    TActionContext context {CallFromAnnaMeier()};

private:
    static std::shared_ptr<TOrvixLine> CallFromAnnaMeier()
    {
        auto line = std::make_shared<TOrvixLine>();
        line->SetCallerName(QStringLiteral("Anna Meier"));
        return line;
    }
};

QStringList DataFolderPages()
{
    return QDir(UserDataPath()).entryList({QStringLiteral("*.HTMLTemplate*")}, QDir::Files);
}

} // namespace

TEST_F(ResolvedAction, ResultListHasTheKeyOfEachParameterAndItsResult)
{
    EXPECT_EQ(TemplateResultList(context.ParamResultList()),
              (QStringList {
                  "saOrvix_orvixCallerName=Anna Meier",
                  "saSystemParam_spEnvironmentVariable_KESTRUNTEMPLATEUSER=jdoe",
                  "saUserParam_bMeierCob=<b>\"Meier\" & Co</b>",
              }));
}

TEST_F(ResolvedAction, TemplateShowsTheCallData)
{
    TraceCapture trace;
    const QString path =
        folder.Write(QStringLiteral("note.txt"),
                     "Anruf von <#saOrvix Value=\"orvixCallerName\">\r\n"
                     "Bearbeiter: <#saSystemParam Value=\"spEnvironmentVariable\" Format=\"KESTRUN_TEMPLATE_USER\">\r\n"
                     "Nummer: <#saOrvix Value=\"orvixCallerNumber\"> a<b\n");
    EXPECT_EQ(HandleTemplate(path, context, TTemplateFiller::OutlookBase),
              QStringLiteral("Anruf von Anna Meier\r\nBearbeiter: jdoe\r\nNummer: invalid! a<b\n"));
    EXPECT_EQ(trace.Count("TAction_OutlookBase::PageProducerHTMLTag: TagString"), 3);
    EXPECT_EQ(trace.LastValue("TAction_OutlookBase::PageProducerHTMLTag: string_SearchString"),
              QStringLiteral("saOrvix_orvixCallerNumber"));
    EXPECT_EQ(trace.LastValue("TAction_OutlookBase::PageProducerHTMLTag: ReplaceText"), QStringLiteral("invalid!"));
    EXPECT_TRUE(trace.LastValue("TAction_OutlookBase::PageProducerHTMLTag: stringList_CurResultList")
                    .contains(QStringLiteral("saOrvix_orvixCallerName=Anna Meier")));
    EXPECT_FALSE(trace.Has("TAction_SendEMail::PageProducerHTMLTag: TagString"));
}

TEST(HandleTemplate, LooksTheKeyUpIgnoringCaseAndGivesInvalidWithoutAValue)
{
    TemplateFolder folder;
    const QString path = folder.Write(QStringLiteral("mail.htm"), "[<#saOrvix Value=\"orvix Caller:Name\">]");
    const std::pair<QStringList, const char*> cases[] = {
        {{"saOrvix_orvixCallerName=Anna"}, "[Anna]"},
        {{"x=1", "SAORVIX_ORVIXCALLERNAME=a=b", "saOrvix_orvixCallerName=second"}, "[a=b]"},
        {{"saOrvix_orvixCallerName="}, "[invalid!]"},
        {{"saOrvix_orvixCallerNam=Anna", "saOrvix_orvixCallerName"}, "[invalid!]"},
        {{}, "[invalid!]"},
    };
    for (const auto& [list, filled] : cases)
        EXPECT_EQ(HandleTemplate(path, &list, TTemplateFiller::SendEMail), QString::fromUtf8(filled)) << filled;

    TraceCapture trace;
    EXPECT_EQ(HandleTemplate(path, nullptr, TTemplateFiller::SendEMail), QStringLiteral("[invalid!]"));
    EXPECT_EQ(trace.LastValue("TAction_SendEMail::PageProducerHTMLTag: TagString"), QStringLiteral("saOrvix"));
    EXPECT_EQ(trace.LastValue("TAction_SendEMail::PageProducerHTMLTag: string_SearchString"),
              QStringLiteral("saOrvix_orvixCallerName"));
}

TEST(HandleTemplate, UnreadableTemplateFailsWithItsPath)
{
    const QString path = QStringLiteral("/nonexistent/Vorlage.htm");
    const QStringList list;
    try {
        HandleTemplate(path, &list, TTemplateFiller::OutlookBase);
        FAIL() << "no error";
    } catch (const EKestrunError& error) {
        EXPECT_TRUE(error.Message().contains(path)) << error.Message().toStdString();
    }
}

TEST_F(ResolvedAction, HtmlPageEncodesValuesAndIsWrittenToTheDataFolder)
{
    ScopedEnvironment templates("KESTRUN_TEMPLATE_DIR", QFile::encodeName(folder.Path()));
    folder.Write(QStringLiteral("message.htm"),
                 "<html><body>\r\n"
                 "<p>a < b</p><#saOrvix Value=\"orvixCallerName\">\r\n"
                 "<i><#saUserParam Value=\"b: Meier, Co/b\"></i>\n"
                 "<#Kunde ID=\"saUserParam_bMeierCob\"> <#saOrvix Value=\"orvixCallerName\" ID=\"nothing\">\r\n"
                 "</body></html>");
    const QString page = CreateHTMLTemplatePage(QStringLiteral("%KESTRUN_TEMPLATE_DIR%/message.htm"),
                                                TemplateResultList(context.ParamResultList()));
    const QFileInfo info(page);
    EXPECT_EQ(info.absolutePath(), QFileInfo(UserDataPath()).absoluteFilePath());
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral(R"(^\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}\.HTMLTemplate\.htm$)"))
            .match(info.fileName())
            .hasMatch())
        << info.fileName().toStdString();
    const QByteArray encoded = "&lt;b&gt;&quot;Meier&quot; &amp; Co&lt;/b&gt;";
    EXPECT_EQ(ReadBytes(page),
              "\xEF\xBB\xBF<html><body>\r\n"
              "<p>a < b</p>Anna Meier\r\n"
              "<i>" +
                  encoded + "</i>\n" + encoded + " invalid!\r\n</body></html>");

    TParameters().CleanTempFiles();
    EXPECT_FALSE(QFileInfo::exists(page));
}

TEST(HtmlTemplatePage, UnreadableTemplateWritesNoPage)
{
    const QStringList before = DataFolderPages();
    const QString path = QStringLiteral("/nonexistent/Nachricht.htm");
    try {
        CreateHTMLTemplatePage(path, {});
        FAIL() << "no error";
    } catch (const EKestrunError& error) {
        EXPECT_TRUE(error.Message().contains(path)) << error.Message().toStdString();
    }
    EXPECT_EQ(DataFolderPages(), before);
}

TEST(HtmlTemplatePage, AValueStaysInsideItsContextWhateverQuotesAndMarkupItHolds)
{
    TemplateFolder folder;
    // The name that ran script in a single-quoted attribute and in a script string.
    const QString name = QStringLiteral("';document.title='PWN4';//</script><b x=\"\">");
    const QStringList results {QStringLiteral("saOrvix_orvixCallerName=") + name,
                               QStringLiteral("saOrvix_orvixCallerNumber=javascript:alert(1)")};
    const auto fill = [&](const char* tagged) {
        return FillHTMLTemplate(folder.Write(QStringLiteral("t.htm"), tagged), results);
    };
    const QString attribute =
        QStringLiteral("&#x27;&#x3B;document&#x2E;title&#x3D;&#x27;PWN4&#x27;&#x3B;&#x2F;&#x2F;&#x3C;&#x2F;"
                       "script&#x3E;&#x3C;b&#x20;x&#x3D;&#x22;&#x22;&#x3E;");
    const QString script = QStringLiteral("\\u0027\\u003Bdocument\\u002Etitle\\u003D\\u0027PWN4\\u0027\\u003B\\u002F"
                                          "\\u002F\\u003C\\u002Fscript\\u003E\\u003Cb x\\u003D\\u0022\\u0022\\u003E");
    const std::pair<const char*, QString> cases[] = {
        {"<p><#saOrvix Value=\"orvixCallerName\"></p>",
         QStringLiteral("<p>&#39;;document.title=&#39;PWN4&#39;;//&lt;/script&gt;&lt;b x=&quot;&quot;&gt;</p>")},
        {"<p title='<#saOrvix Value=\"orvixCallerName\">'>", QStringLiteral("<p title='") + attribute + "'>"},
        {"<p title=\"<#saOrvix Value=\"orvixCallerName\">\">", QStringLiteral("<p title=\"") + attribute + "\">"},
        {"<p title=<#saOrvix Value=\"orvixCallerName\">>", QStringLiteral("<p title=") + attribute + ">"},
        {"<script>var n = '<#saOrvix Value=\"orvixCallerName\">';</script>",
         QStringLiteral("<script>var n = '") + script + "';</script>"},
        {"<SCRIPT type=\"text/javascript\">var n = \"<#saOrvix Value=\"orvixCallerName\">\";</SCRIPT><p>"
         "<#saOrvix Value=\"orvixCallerName\"></p>",
         QStringLiteral("<SCRIPT type=\"text/javascript\">var n = \"") + script +
             "\";</SCRIPT><p>&#39;;document.title=&#39;PWN4&#39;;//&lt;/script&gt;&lt;b x=&quot;&quot;&gt;</p>"},
        {"<a onclick='alert(\"<#saOrvix Value=\"orvixCallerName\">\")'>",
         QStringLiteral("<a onclick='alert(\"") +
             QString(script).replace(u'\\', QStringLiteral("&#x5C;")).replace(u' ', QStringLiteral("&#x20;")) +
             "\")'>"},
        {"<a href='<#saOrvix Value=\"orvixCallerNumber\">'>",
         QStringLiteral("<a href='&#x2E;&#x2F;javascript&#x3A;alert&#x28;1&#x29;'>")},
        {"<a href='tel:<#saOrvix Value=\"orvixCallerNumber\">'>",
         QStringLiteral("<a href='tel:javascript&#x3A;alert&#x28;1&#x29;'>")},
        {"<!-- '<#saOrvix Value=\"orvixCallerNumber\">' --><p title='<#saOrvix Value=\"orvixCallerNumber\">'>",
         QStringLiteral("<!-- 'javascript:alert(1)' --><p title='javascript&#x3A;alert&#x28;1&#x29;'>")},
    };
    for (const auto& [tagged, filled] : cases)
        EXPECT_EQ(fill(tagged), filled) << tagged;
}
