// SPDX-License-Identifier: GPL-3.0-or-later

#include "DesktopToolStandIn.h"
#include "FakeUserInterface.h"
#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "StallingSmtpServer.h"
#include "TestActions.h"
#include "TestFiles.h"
#include "TraceCapture.h"

#include "actions/ActionOutlookSendMail.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterOrvix.h"
#include "pim/MailComposer.h"
#include "pim/MimeMessage.h"
#include "pim/SmtpSender.h"
#include "platform/DocumentOpener.h"
#include "platform/KestrunError.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Takes what the desktop would open and what the composer would get.
struct MailOutlets
{
    MailOutlets()
    {
        m_opener = ReplaceDocumentOpener([this](const QString& document, QString*) {
            opened << document;
            return true;
        });
        m_composer = ReplaceMailComposer([this](const TMailItem& item, QString*) {
            composed.push_back(item);
            return true;
        });
    }
    ~MailOutlets()
    {
        ReplaceDocumentOpener(m_opener);
        ReplaceMailComposer(m_composer);
    }

    QStringList opened;
    std::vector<TMailItem> composed;

private:
    TDocumentOpener m_opener;
    TMailComposer m_composer;
};

std::shared_ptr<TOrvixLine> CallFromAnna()
{
    auto line = std::make_shared<TOrvixLine>();
    line->SetCallerName(QStringLiteral("Anna & Berg"));
    line->SetCallerNumber(QStringLiteral("+49301234567"));
    return line;
}

TParameterOrvix* CallValue(const char* name)
{
    auto* parameter = new TParameterOrvix;
    parameter->SetParameterValue(QString::fromLatin1(name));
    return parameter;
}

bool RunMail(TBaseAction& action)
{
    TActionContext context(CallFromAnna());
    action.ExecuteAction(context);
    return context.ActionSuccessfull() && !context.CancelAction();
}

QStringList Entries(const char* recipient, const char* subject, const char* cc, const char* bcc, const QString& path)
{
    return {QString::fromUtf8(recipient), QString::fromUtf8(subject), QString::fromUtf8(cc), QString::fromUtf8(bcc),
            QStringLiteral("1;Template;") + path};
}

} // namespace

TEST(EMailLink, EveryValueIsPercentEncodedInItsField)
{
    const std::pair<QStringList, const char*> cases[] = {
        {{"Recipient=a@example.org", "Subject=Hallo"}, "mailto:a@example.org?Subject=Hallo"},
        {{"Recipient=", "CC=c@example.org"}, "mailto:?CC=c@example.org"},
        {{"Subject=Hallo", "Body=Text"}, "mailto:?Subject=Hallo&Body=Text"},
        {{"Recipient=a@example.org, b@example.org", "BCC=x@example.org"},
         "mailto:a@example.org,b@example.org?BCC=x@example.org"},
        // Only plain addresses: a link, a scheme or an escape in an address field is left out.
        {{"Recipient=mailto:?attach=/etc/hostname; a@example.org", "CC=c@example.org\\x2cattachment=/etc/hostname",
          "BCC=mailto:b@example.org"},
         "mailto:a@example.org"},
        {{"Recipient=Anna Berg <anna@example.org>"}, "mailto:anna@example.org"},
        // A caller's name can neither add a recipient nor end the field.
        {{"Subject=x&bcc=evil@example.org", "Body=a?b#c%d"},
         "mailto:?Subject=x%26bcc%3Devil%40example.org&Body=a%3Fb%23c%25d"},
        {{"Body=Zeile 1\nZeile 2\r\nZeile 3"}, "mailto:?Body=Zeile%201%0D%0AZeile%202%0D%0AZeile%203"},
        {{"Subject=Rückruf €"}, "mailto:?Subject=R%C3%BCckruf%20%E2%82%AC"},
        {{"subject=klein", "Subject=zweite"}, "mailto:?Subject=klein"},
        {{}, "mailto:"},
    };
    for (const auto& [list, link] : cases)
        EXPECT_EQ(TActionSendEMail::CreateLink(list), QString::fromUtf8(link)) << link;
}

TEST(EMailAction, DefaultFieldsGiveTheSampleRecipientAndSubjectAndNoBody)
{
    MailOutlets outlets;
    TraceCapture trace;
    TActionSendEMail mail;
    EXPECT_TRUE(RunMail(mail));
    EXPECT_EQ(outlets.opened, QStringList {"mailto:vorname.nachname@example.com?Subject=Beispielbetreff"});
    EXPECT_EQ(trace.Count(QStringLiteral("TAction_SendEMail::ExecuteAction: Parameter disabled -> go to next")), 2);
    EXPECT_TRUE(
        trace.Has(QStringLiteral("TAction_SendEMail::ExecuteAction: No template file named, the mail has no body")));
    EXPECT_TRUE(trace.Has(QStringLiteral("TAction_SendEMail::ExecuteAction: Open Link")));

    mail.SetParameterList({"0;Recipient;a@example.org", "0;Subject;x", "0;CC;", "0;BCC;", "0;Template;"});
    outlets.opened.clear();
    EXPECT_TRUE(RunMail(mail));
    EXPECT_EQ(outlets.opened, QStringList {"mailto:"});
}

TEST(EMailAction, ExtendedFieldsTakeTheirInnerActionsResults)
{
    MailOutlets outlets;
    TActionSendEMail mail;
    mail.SetParameterList(Entries("1;Recipient;fest@example.org", "1;Subject;Fester Betreff",
                                  "1;CC;fest-cc@example.org", "0;BCC;", QString()));
    const auto inner = [&mail](int field, bool active, TBaseParameter* parameter) {
        auto action = std::make_unique<TActionSendEMail>();
        action->SetIsDummy(true);
        action->SetFieldID(field);
        action->SetActive(active);
        action->AddNewItem(parameter);
        mail.AddInnerBaseAction(std::move(action));
    };
    inner(TActionSendEMail::FieldRecipient, true, new ScriptedParameter(QStringLiteral("anna@example.org")));
    inner(TActionSendEMail::FieldSubject, true, CallValue("orvixCallerName"));
    // Switched off: still resolved, but the fixed value counts.
    auto* unused = new ScriptedParameter(QStringLiteral("nicht@example.org"));
    inner(TActionSendEMail::FieldCC, false, unused);
    EXPECT_TRUE(RunMail(mail));
    EXPECT_EQ(unused->resolved, 1);
    EXPECT_EQ(outlets.opened, QStringList {"mailto:anna@example.org?Subject=Anna%20%26%20Berg&CC=fest-cc@example.org"});
}

TEST(EMailAction, CancelledActionAsksNoInnerAction)
{
    MailOutlets outlets;
    TActionSendEMail mail;
    mail.AddNewItem(new ScriptedParameter(QString(), ScriptedParameter::Cancel));
    auto inner = std::make_unique<TActionSendEMail>();
    inner->SetIsDummy(true);
    inner->SetFieldID(TActionSendEMail::FieldRecipient);
    auto* question = new ScriptedParameter(QStringLiteral("x@example.org"));
    inner->AddNewItem(question);
    mail.AddInnerBaseAction(std::move(inner));
    TActionContext context(CallFromAnna());
    mail.ExecuteAction(context);
    EXPECT_TRUE(context.CancelAction());
    EXPECT_EQ(question->resolved, 0);
    EXPECT_TRUE(outlets.opened.isEmpty());
}

TEST(EMailAction, FixedTemplateIsFilledFromTheActionsOwnResults)
{
    MailOutlets outlets;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mail.txt"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, "Anruf von <#saOrvix Value=\"orvixCallerName\">\n"));
    TActionOutlookSendMail mail;
    mail.SetParameterList(Entries("1;Recipient;a@example.org", "1;Subject;Anruf", "0;CC;", "0;BCC;", path));
    mail.AddNewItem(CallValue("orvixCallerName"));
    EXPECT_TRUE(RunMail(mail));
    ASSERT_EQ(outlets.composed.size(), 1u);
    EXPECT_EQ(outlets.composed.front().HTMLBody, QStringLiteral("Anruf von Anna & Berg\n"));
    EXPECT_EQ(outlets.composed.front().To, QStringList {"a@example.org"});
}

TEST(EMailAction, MissingAttachmentsAreLeftOutAndToldToTheUser)
{
    MailOutlets outlets;
    FakeUserInterface ui;
    QTemporaryDir folder;
    const QString present = folder.filePath(QStringLiteral("angebot.pdf"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(present, "%PDF"));
    const QString first = folder.filePath(QStringLiteral("fehlt1.pdf"));
    const QString third = folder.filePath(QStringLiteral("fehlt3.pdf"));
    TActionOutlookSendMail mail;
    mail.SetParameterList(Entries("1;Recipient;a@example.org; b@example.org", "1;Subject;Angebot", "1;CC;c@example.org",
                                  "1;BCC;d@example.org", QString()));
    mail.SetAttachments({first, present, third});
    mail.SetAttachmentsActive(true);
    EXPECT_TRUE(RunMail(mail));
    ASSERT_EQ(outlets.composed.size(), 1u);
    const TMailItem& item = outlets.composed.front();
    EXPECT_EQ(item.To, (QStringList {"a@example.org", "b@example.org"}));
    EXPECT_EQ(item.CC, QStringList {"c@example.org"});
    EXPECT_EQ(item.BCC, QStringList {"d@example.org"});
    EXPECT_EQ(item.Attachments, QStringList {present});
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices.front().text,
              QStringLiteral("Die Dateien\n\n") + first + u'\n' + third +
                  QStringLiteral("\n\nexistieren nicht und wurden nicht zur E-Mail hinzugefügt."));
    EXPECT_EQ(TActionOutlookSendMail::MissingAttachmentsText({first}),
              QStringLiteral("Die Datei\n\n") + first +
                  QStringLiteral("\n\nexistiert nicht und wurde nicht zur E-Mail hinzugefügt."));
}

TEST(MailComposer, XdgEmailGetsTheEncodedLinkAndNoAddressThatLooksLikeAnOption)
{
    TMailItem item;
    item.To = {QStringLiteral("a@example.org"), QStringLiteral("--attach"), QStringLiteral("/etc/passwd"),
               QStringLiteral("Anna Berg <anna@example.org>")};
    item.CC = {QStringLiteral("c@example.org")};
    item.BCC = {QStringLiteral("d@example.org")};
    item.Subject = QStringLiteral("Angebot, 'neu'");
    item.HTMLBody = QStringLiteral("<p>Hallo <b>Anna</b></p>");
    item.BodyIsHtml = true;
    item.Attachments = {QStringLiteral("/tmp/a.pdf")};
    EXPECT_EQ(XdgEmailArguments(item),
              (QStringList {"--utf8", "--attach", "/tmp/a.pdf",
                            "mailto:a@example.org,anna@example.org?cc=c@example.org&bcc=d@example.org"
                            "&subject=Angebot%2C%20%27neu%27&body=Hallo%20Anna"}));
}

TEST(MimeMessage, CallDataCannotAddHeaders)
{
    TMailItem item;
    item.To = {QStringLiteral("a@example.org")};
    item.BCC = {QStringLiteral("geheim@example.org")};
    item.Subject = QStringLiteral("Hallo\r\nBcc: evil@example.org");
    item.HTMLBody = QStringLiteral("Text");
    const QByteArray message = BuildMimeMessage(item, QStringLiteral("me@example.org"), QDateTime::currentDateTime());
    EXPECT_FALSE(message.contains("\r\nBcc:"));
    EXPECT_FALSE(message.contains("geheim"));
    EXPECT_TRUE(message.contains("Subject: Hallo  Bcc: evil@example.org\r\n"));
    EXPECT_TRUE(message.contains("Content-Type: text/plain; charset=UTF-8"));
}

namespace {

// A local SMTP server that keeps each message it takes in a Maildir, with the
// envelope's sender and recipients as X-MailFrom and X-RcptTo.
class LocalSmtpServer
{
public:
    LocalSmtpServer()
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return;
        m_port = probe.serverPort();
        probe.close();
        m_server.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"), QStringLiteral("-l"),
                        QStringLiteral("127.0.0.1:%1").arg(m_port), QStringLiteral("-c"),
                        QStringLiteral("aiosmtpd.handlers.Mailbox"), MailDir()});
        // Python's start-up on a loaded machine takes seconds: a deadline, not a count of tries.
        const QDeadlineTimer patience(60000);
        while (!patience.hasExpired() && m_server.state() != QProcess::NotRunning) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, m_port);
            if (socket.waitForConnected(100)) {
                m_ready = true;
                return;
            }
            QThread::msleep(100);
        }
    }
    ~LocalSmtpServer()
    {
        m_server.kill();
        m_server.waitForFinished(5000);
    }

    bool Ready() const { return m_ready; }
    quint16 Port() const { return m_port; }
    QStringList Messages() const
    {
        QStringList messages;
        const QDir inbox(MailDir() + QStringLiteral("/new"));
        for (const QString& name : inbox.entryList(QDir::Files))
            messages << QString::fromUtf8(ReadFile(inbox.filePath(name)));
        return messages;
    }

private:
    // Made by the server: it makes the Maildir's parts only when the folder is new.
    QString MailDir() const { return m_folder.filePath(QStringLiteral("maildir")); }

    QTemporaryDir m_folder;
    QProcess m_server;
    quint16 m_port = 0;
    bool m_ready = false;
};

bool AiosmtpdInstalled()
{
    return QProcess::execute(QStringLiteral("/usr/bin/python3"),
                             {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")}) == 0;
}

} // namespace

TEST(EMailAction, SentAtOnceArrivesWithTheExactRecipientsSubjectAndAttachment)
{
    if (!AiosmtpdInstalled())
        GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/install-deps installs it)";
    LocalSmtpServer server;
    ASSERT_TRUE(server.Ready());
    SettingsSandbox settings;
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           QStringLiteral("[Mail]\nSmtpServer=127.0.0.1\nSmtpPort=%1\nSmtpSecurity=none\n"
                                          "SenderAddress=zentrale@example.org\n")
                               .arg(server.Port())
                               .toUtf8());
    MailOutlets outlets;
    QTemporaryDir folder;
    const QString attachment = folder.filePath(QStringLiteral("Angebot Müller.bin"));
    static const char raw[] = "\x00\x01\xff binary \r\n data";
    const QByteArray bytes(raw, sizeof raw - 1);
    ASSERT_NO_FATAL_FAILURE(WriteFile(attachment, bytes));
    TActionOutlookSendMail mail;
    mail.SetParameterList(Entries("1;Recipient;anna@example.org", "1;Subject;Rückruf für Anna", "1;CC;cc@example.org",
                                  "1;BCC;geheim@example.org", QString()));
    mail.SetAttachments({attachment});
    mail.SetAttachmentsActive(true);
    mail.SetSendEMailImmediately(true);
    TraceCapture trace;
    EXPECT_TRUE(RunMail(mail));
    EXPECT_TRUE(outlets.composed.empty())
        << trace.LastValue("TAction_SendEMail::ExecuteAction: Sending failed, the mail program opens instead")
               .toStdString();

    const QStringList messages = server.Messages();
    ASSERT_EQ(messages.size(), 1);
    const QString& message = messages.front();
    EXPECT_TRUE(message.contains(QStringLiteral("X-MailFrom: zentrale@example.org")));
    EXPECT_TRUE(message.contains(QStringLiteral("X-RcptTo: anna@example.org, cc@example.org, geheim@example.org")));
    EXPECT_TRUE(message.contains(QStringLiteral("\nTo: anna@example.org\n")) ||
                message.contains(QStringLiteral("\nTo: anna@example.org\r\n")));
    EXPECT_TRUE(message.contains(QStringLiteral("Cc: cc@example.org")));
    EXPECT_FALSE(message.contains(QStringLiteral("geheim@example.org\r\nSubject")) ||
                 message.contains(QStringLiteral("Bcc:")));
    const QString subject = QStringLiteral("=?UTF-8?B?") +
        QString::fromLatin1(QStringLiteral("Rückruf für Anna").toUtf8().toBase64()) + QStringLiteral("?=");
    EXPECT_TRUE(message.contains(QStringLiteral("Subject: ") + subject)) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("filename*=UTF-8''Angebot%20M%C3%BCller.bin")));
    EXPECT_TRUE(message.contains(QString::fromLatin1(bytes.toBase64())));
}

TEST(EMailAction, WithoutAccountOrWhenSendingFailsTheComposerOpens)
{
    MailOutlets outlets;
    SettingsSandbox settings;
    TActionOutlookSendMail mail;
    mail.SetParameterList(Entries("1;Recipient;anna@example.org", "1;Subject;x", "0;CC;", "0;BCC;", QString()));
    mail.SetSendEMailImmediately(true);
    TraceCapture trace;
    EXPECT_TRUE(RunMail(mail));
    EXPECT_EQ(outlets.composed.size(), 1u);
    EXPECT_TRUE(trace.Has(QStringLiteral(
        "TAction_SendEMail::ExecuteAction: No mail account for sending at once, the mail program opens instead")));

    // Nobody listens on that port.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           QStringLiteral("[Mail]\nSmtpServer=127.0.0.1\nSmtpPort=%1\nSmtpSecurity=none\n"
                                          "SenderAddress=zentrale@example.org\nSmtpUser=u\nSmtpPassword=Geheimwort\n")
                               .arg(port)
                               .toUtf8());
    EXPECT_TRUE(RunMail(mail));
    EXPECT_EQ(outlets.composed.size(), 2u);
    const QString failure =
        trace.LastValue("TAction_SendEMail::ExecuteAction: Sending failed, the mail program opens instead");
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_FALSE(failure.contains(QStringLiteral("Geheimwort")));
}

namespace {

void AddCallerNameField(TActionSendEMail& mail, TActionSendEMail::EMailField field)
{
    auto inner = std::make_unique<TActionSendEMail>();
    inner->SetIsDummy(true);
    inner->SetFieldID(field);
    inner->SetActive(true);
    inner->AddNewItem(CallValue("orvixCallerName"));
    mail.AddInnerBaseAction(std::move(inner));
}

bool RunMailFrom(TBaseAction& action, const QString& callerName)
{
    auto line = CallFromAnna();
    line->SetCallerName(callerName);
    TActionContext context(line);
    action.ExecuteAction(context);
    return context.ActionSuccessfull() && !context.CancelAction();
}

QStringList DraftFiles()
{
    const QDir folder(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/kestrun/mail-drafts"));
    QStringList files;
    for (const QString& name : folder.entryList({QStringLiteral("*.eml")}, QDir::Files))
        files << folder.filePath(name);
    return files;
}

} // namespace

TEST(MailComposer, CallerNamesInAddressFieldsNeverReachTheComposerAsAnythingButAnAddress)
{
    const char* hostile[] = {
        "mailto:?attach=/etc/hostname",
        "anna@example.org'\\x2cattachment='~/.config/Kestrun/Event Controller for OrvixIt.ini'\\x2cx='",
        "anna@example.org\\x2cattachment=/etc/hostname",
        "mailto:anna@example.org",
        "\"anna\"@example.org",
        "anna%40example.org@example.org",
    };
    for (const int field : {TActionSendEMail::FieldRecipient, TActionSendEMail::FieldCC, TActionSendEMail::FieldBCC}) {
        for (const char* name : hostile) {
            DesktopToolStandIn composer("xdg-email", 0);
            TraceCapture trace;
            TActionOutlookSendMail mail;
            mail.SetParameterList(Entries("1;Recipient;", "1;Subject;Anruf", "1;CC;", "1;BCC;", QString()));
            AddCallerNameField(mail, TActionSendEMail::EMailField(field));
            EXPECT_TRUE(RunMailFrom(mail, QString::fromUtf8(name)));
            EXPECT_EQ(composer.Arguments(), (QStringList {"--utf8", "mailto:?subject=Anruf"})) << field << " " << name;
            EXPECT_EQ(trace.LastValue("TAction_SendEMail::ExecuteAction: Not a mail address, left out"),
                      QString::fromUtf8(name));
        }
    }
    // A real address from the call still goes through, as a plain address.
    DesktopToolStandIn composer("xdg-email", 0);
    TActionOutlookSendMail mail;
    mail.SetParameterList(Entries("1;Recipient;", "1;Subject;Anruf", "1;CC;", "1;BCC;", QString()));
    AddCallerNameField(mail, TActionSendEMail::FieldCC);
    EXPECT_TRUE(RunMailFrom(mail, QStringLiteral("anna.berg@example.org")));
    EXPECT_EQ(composer.Arguments(), (QStringList {"--utf8", "mailto:?cc=anna.berg@example.org&subject=Anruf"}));
}

TEST(EMailAction, ValuesInAnHtmlTemplateAreEncodedAndTheTemplateAloneMakesTheBodyHtml)
{
    MailOutlets outlets;
    QTemporaryDir folder;
    const QString html = folder.filePath(QStringLiteral("mail.htm"));
    const QString text = folder.filePath(QStringLiteral("mail.txt"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(html,
                                      "<p title='<#saOrvix Value=\"orvixCallerName\">'>Anruf von "
                                      "<#saOrvix Value=\"orvixCallerName\"></p>\n"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(text, "Anruf von <#saOrvix Value=\"orvixCallerName\">\n"));
    const QString name = QStringLiteral("<a href=\"http://evil.example/\">x</a><img src=http://track.example/p.gif>'");
    for (const QString& path : {html, text}) {
        TActionOutlookSendMail mail;
        mail.SetParameterList(Entries("1;Recipient;a@example.org", "1;Subject;Anruf", "0;CC;", "0;BCC;", path));
        mail.AddNewItem(CallValue("orvixCallerName"));
        EXPECT_TRUE(RunMailFrom(mail, name));
    }
    ASSERT_EQ(outlets.composed.size(), 2u);
    const TMailItem& fromHtml = outlets.composed.front();
    EXPECT_TRUE(fromHtml.BodyIsHtml);
    EXPECT_FALSE(fromHtml.HTMLBody.contains(QStringLiteral("<a ")));
    EXPECT_FALSE(fromHtml.HTMLBody.contains(QStringLiteral("<img")));
    EXPECT_FALSE(fromHtml.HTMLBody.contains(QStringLiteral("x</a>'")));
    EXPECT_TRUE(
        fromHtml.HTMLBody.contains(QStringLiteral("Anruf von &lt;a href=&quot;http://evil.example/&quot;&gt;")));
    const TMailItem& fromText = outlets.composed.back();
    EXPECT_FALSE(fromText.BodyIsHtml);
    EXPECT_EQ(fromText.HTMLBody, QStringLiteral("Anruf von ") + name + u'\n');
    EXPECT_TRUE(BuildMimeMessage(fromText, QStringLiteral("me@example.org"), QDateTime::currentDateTime())
                    .contains("Content-Type: text/plain; charset=UTF-8"));
    EXPECT_TRUE(BuildMimeMessage(fromHtml, QStringLiteral("me@example.org"), QDateTime::currentDateTime())
                    .contains("Content-Type: text/html; charset=UTF-8"));
}

TEST(MimeMessage, DateHasANumericZoneEachDisplayNameItsOwnWordsAndNoLineIsLongerThan78)
{
    TMailItem item;
    item.To = {QStringLiteral("Jürgen Groß <juergen@example.org>"), QStringLiteral("anna@example.org"),
               QStringLiteral("Anna Berg <berg@example.org>")};
    item.CC = {QStringLiteral("Zoë <zoe@example.org>")};
    const QString words = QStringLiteral("Rückruf wegen des Angebots ").repeated(40);
    const QString longAscii = QStringLiteral("Rueckruf wegen des Angebots ").repeated(40).trimmed();
    const QString oneWord = QStringLiteral("x").repeated(1110);
    for (const QString& subject : {words, longAscii, oneWord}) {
        item.Subject = subject;
        const QDateTime date(QDate(2026, 12, 11), QTime(8, 30, 5), Qt::OffsetFromUTC, 3600);
        const QByteArray message = BuildMimeMessage(item, QStringLiteral("Zentrale <z@example.org>"), date);
        const QByteArray head = message.left(message.indexOf("\r\n\r\n") + 2);
        EXPECT_TRUE(head.startsWith("Date: Fri, 11 Dec 2026 08:30:05 +0100\r\n")) << head.left(60).toStdString();
        for (const QByteArray& line : head.split('\n'))
            EXPECT_LE(line.size(), 79) << line.toStdString();
        const QByteArray to = head.mid(head.indexOf("To:"), head.indexOf("Cc:") - head.indexOf("To:"));
        const QByteArray unfolded = QByteArray(to).replace("\r\n", "");
        EXPECT_EQ(unfolded,
                  QByteArray("To: =?UTF-8?B?" + QStringLiteral("Jürgen Groß").toUtf8().toBase64() +
                             "?= <juergen@example.org>, anna@example.org, \"Anna Berg\" <berg@example.org>"));
        EXPECT_TRUE(head.contains(
            QByteArray("Cc: =?UTF-8?B?" + QStringLiteral("Zoë").toUtf8().toBase64() + "?= <zoe@example.org>\r\n")));
        EXPECT_TRUE(head.contains("From: Zentrale <z@example.org>\r\n") ||
                    head.contains("From: \"Zentrale\" <z@example.org>\r\n"));
    }
    // ASCII subjects fold at their blanks, and unfold to what they were.
    item.Subject = longAscii;
    const QByteArray message = BuildMimeMessage(item, QStringLiteral("z@example.org"), QDateTime::currentDateTime());
    const qsizetype start = message.indexOf("Subject: ");
    const QByteArray subject = message.mid(start, message.indexOf("\r\nMessage-ID") - start);
    EXPECT_GT(subject.count("\r\n "), 10);
    EXPECT_EQ(QByteArray(subject).replace("\r\n", ""), "Subject: " + longAscii.toLatin1());
}

TEST(EMailAction, AMailNeitherSentNorTakenByTheComposerIsKeptAsADraftAndTheUserTold)
{
    FakeUserInterface ui;
    SettingsSandbox settings;
    // xdg-email refuses what it is given (its exit status 1), as for a recipient without "@".
    DesktopToolStandIn composer("xdg-email", 1);
    TraceCapture trace;
    TActionOutlookSendMail mail;
    mail.SetParameterList(
        Entries("1;Recipient;anna@example.org", "1;Subject;Rückruf Anna", "0;CC;", "0;BCC;", QString()));
    EXPECT_FALSE(RunMail(mail));
    EXPECT_EQ(composer.Arguments().size(), 2);
    EXPECT_TRUE(trace.LastValue("TAction_SendEMail::ExecuteAction: The mail program cannot be opened")
                    .contains(QStringLiteral("exit status 1")));
    QStringList drafts = DraftFiles();
    ASSERT_EQ(drafts.size(), 1);
    EXPECT_TRUE(ReadFile(drafts.front()).contains("To: anna@example.org"));
    EXPECT_TRUE(ReadFile(drafts.front()).contains(QStringLiteral("Rückruf Anna").toUtf8().toBase64()));
    EXPECT_EQ(QFile::permissions(drafts.front()) & 0x0077, QFileDevice::Permissions());
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(ui.notices.front().text.contains(drafts.front()));

    // The plain action: xdg-open finds no mail program (its exit status 3).
    DesktopToolStandIn desktop("xdg-open", 3);
    TActionSendEMail plain;
    plain.SetParameterList(Entries("1;Recipient;anna@example.org", "1;Subject;Zweiter", "0;CC;", "0;BCC;", QString()));
    EXPECT_FALSE(RunMail(plain));
    EXPECT_EQ(desktop.Arguments(), QStringList {"mailto:anna@example.org?Subject=Zweiter"});
    drafts = DraftFiles();
    EXPECT_EQ(drafts.size(), 2);
    EXPECT_EQ(ui.notices.size(), 2u);
    for (const QString& file : drafts)
        QFile::remove(file);
}

TEST(SmtpSender, AServerThatNeverAnswersTheMessageEndsTheSendWithinTheResponseLimit)
{
    if (!AiosmtpdInstalled())
        GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/install-deps installs it)";
    StallingSmtpServer server;
    ASSERT_TRUE(server.Ready());
    TMailAccount account;
    account.Server = QStringLiteral("127.0.0.1");
    account.Port = server.Port();
    account.Security = TSmtpSecurity::None;
    account.SenderAddress = QStringLiteral("zentrale@example.org");
    TMailItem item;
    item.To = {QStringLiteral("anna@example.org")};
    item.Subject = QStringLiteral("Anruf");
    TSmtpLimits limits;
    limits.ResponseSeconds = 2;
    limits.LowSpeedSeconds = 2;
    EXPECT_THROW(SendMail(item, account, limits), EKestrunError);
    EXPECT_TRUE(server.Stalling());
}

TEST(EMailAction, SendingAtOnceRunsBesideTheEventLoopAndAFailedSendGoesToTheComposer)
{
    if (!AiosmtpdInstalled())
        GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/install-deps installs it)";
    StallingSmtpServer server;
    ASSERT_TRUE(server.Ready());
    SettingsSandbox settings;
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           QStringLiteral("[Mail]\nSmtpServer=127.0.0.1\nSmtpPort=%1\nSmtpSecurity=none\n"
                                          "SenderAddress=zentrale@example.org\n")
                               .arg(server.Port())
                               .toUtf8());
    MailOutlets outlets;
    TActionOutlookSendMail mail;
    mail.SetParameterList(Entries("1;Recipient;anna@example.org", "1;Subject;Anruf", "0;CC;", "0;BCC;", QString()));
    mail.SetSendEMailImmediately(true);
    // While the server holds its answer back, the main thread's events still run:
    // this timer sees the stall and then lets the server go down.
    bool sawStall = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (server.Stalling()) {
            sawStall = true;
            server.Stop();
        }
    });
    watch.start(100);
    TraceCapture trace;
    EXPECT_TRUE(RunMail(mail));
    EXPECT_TRUE(sawStall);
    ASSERT_EQ(outlets.composed.size(), 1u);
    EXPECT_EQ(outlets.composed.front().Subject, QStringLiteral("Anruf"));
    EXPECT_FALSE(
        trace.LastValue("TAction_SendEMail::ExecuteAction: Sending failed, the mail program opens instead").isEmpty());
}
