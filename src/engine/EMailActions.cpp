// SPDX-License-Identifier: GPL-3.0-or-later

// Running the e-mail actions: the engine part of the plain e-mail action (a
// mailto link opened by the desktop) and of the mail-program action (a mail
// sent over SMTP or handed to the user's composer). Both fill their five fields
// the same way: a fixed value, or the results of the field's inner action.

#include "actions/ActionOutlookSendMail.h"
#include "engine/TemplateFilling.h"
#include "frontend/UserInterface.h"
#include "pim/MailAccount.h"
#include "pim/MailAddress.h"
#include "pim/MailComposer.h"
#include "pim/MailDrafts.h"
#include "pim/MailtoLink.h"
#include "pim/SmtpSender.h"
#include "platform/BackgroundWait.h"
#include "platform/DocumentOpener.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

const QString Unit = QStringLiteral("TAction_SendEMail::ExecuteAction: ");

QString Title(const char* text)
{
    return Unit + QString::fromLatin1(text);
}

// The value of the first line of that name (ignoring case); empty when none.
QString LinkValue(const QStringList& linkList, const char* name)
{
    return ResultListValue(linkList, QString::fromLatin1(name));
}

// The recipients of an address field that are addresses (ParseMailAddress); anything
// else, such as a caller's name that hides a link or an option, is traced and left out.
QStringList CheckedRecipients(const QString& field)
{
    QStringList accepted;
    for (const QString& part : MailAddresses(field)) {
        if (ParseMailAddress(part))
            accepted << part;
        else
            Trace::Warning(Title("Not a mail address, left out"), part);
    }
    return accepted;
}

// An inner action's results as the reading side wants them: its field number, then
// one "key=result" line per resolved parameter.
QStringList InnerResultList(const TActionSendEMail& inner, const TActionContext& innerContext)
{
    return QStringList {QString::number(inner.FieldID())} + TemplateResultList(innerContext.ParamResultList());
}

// The further lines of every result list of the field, their results joined without separator.
QString ExtendedValue(const QList<QStringList>& innerResultLists, int fieldID, QStringList& curResultList)
{
    QString value;
    for (const QStringList& list : innerResultLists) {
        if (list.value(0) != QString::number(fieldID))
            continue;
        curResultList = list.mid(1);
        for (QString line : curResultList) {
            line.remove(u'\r').remove(u'\n');
            value += line.section(u'=', 1);
        }
    }
    return value;
}

// The body of a field "Template": the filled template, or nothing for a field that names none.
TMailBody TemplateBody(const QString& path, const QStringList& resultList)
{
    if (path.trimmed().isEmpty()) {
        Trace::Warning(Title("No template file named, the mail has no body"));
        return {};
    }
    return HandleMailTemplate(path, &resultList);
}

// The mail that went nowhere, kept in the drafts folder, and the user told where.
void KeepDraft(const TMailItem& item, const QString& caption)
{
    QString text;
    try {
        const QString path = KeepMailDraft(item, ReadMailAccount().SenderAddress, QDateTime::currentDateTime());
        Trace::Value(Title("Mail kept as a draft"), path);
        text = QStringLiteral("Die E-Mail konnte weder gesendet noch an das E-Mail-Programm übergeben werden. "
                              "Sie wurde als Entwurf gespeichert:\n\n") +
            path;
    } catch (const EKestrunError& error) {
        Trace::Exception(Title("The mail cannot be kept as a draft"), error);
        text = QStringLiteral("Die E-Mail konnte weder gesendet noch an das E-Mail-Programm übergeben werden, "
                              "und sie konnte nicht als Entwurf gespeichert werden:\n\n") +
            error.Message();
    }
    if (TUserInterface* ui = UserInterface())
        ui->ShowNotice(caption, text);
}

} // namespace

void TActionSendEMail::ExecuteAction(TActionContext& context)
{
    const TraceMethod method(QStringLiteral("TAction_SendEMail::ExecuteAction"));
    TBaseAction::ExecuteAction(context);
    Trace::Value(Title("FIsDummy"), FIsDummy);
    if (FIsDummy) {
        Trace::Message(Title("DummyAction -> end"));
        return;
    }
    // Inner actions may ask the user: none of them once the action itself is cancelled.
    if (context.CancelAction()) {
        Trace::Message(Title("CancelAction"));
        return;
    }

    Trace::Message(Title("Perform InnerBaseActions"));
    QList<QStringList> innerResultLists;
    if (m_innerBaseActions.empty())
        Trace::Warning(Title("No InnerBaseActions defined"));
    for (int field = 0; field < FParameterList.size(); ++field) {
        for (const auto& inner : m_innerBaseActions) {
            if (inner->FieldID() != field)
                continue;
            Trace::Value(Title("Perform InnerBaseAction ID "), field);
            TActionContext innerContext(context.Line());
            inner->ExecuteAction(innerContext);
            innerResultLists.append(InnerResultList(*inner, innerContext));
            Trace::Strings(Title("ParamResultList"), innerResultLists.back());
        }
    }

    // The run's own results fill a fixed template; nothing of them outlives the run.
    const QStringList ownResultList = TemplateResultList(context.ParamResultList());
    QStringList linkList;
    bool htmlBody = false;
    for (int i = 0; i < FParameterList.size(); ++i) {
        const QString& entry = FParameterList.at(i);
        const bool enabled = entry.section(u';', 0, 0) == u"1";
        QString name = entry.section(u';', 1, 1);
        const QString fixedValue = entry.section(u';', 2);
        Trace::Value(Title("Parameter "), i + 1);
        Trace::Value(Title("boolean_Enabled"), enabled);
        Trace::Value(Title("string_Parameter"), name);
        Trace::Value(Title("string_Value"), fixedValue);
        if (!enabled) {
            Trace::Message(Title("Parameter disabled -> go to next"));
            continue;
        }
        Trace::Message(Title("Searching InnerBaseAction"));
        const TActionSendEMail* inner = InnerBaseActionForField(i);
        const bool useFixParameter = !inner || !inner->Active();
        Trace::Value(Title("boolean_UseFixParameter"), useFixParameter);
        QString value;
        if (useFixParameter) {
            Trace::Message(Title("Use fix parameter"));
            Trace::Message(Unit + name + u'=' + fixedValue);
            value = fixedValue;
            if (name == u"Template") {
                name = QStringLiteral("Body");
                const TMailBody body = TemplateBody(fixedValue, ownResultList);
                value = body.Text;
                htmlBody = body.Html;
            }
        } else {
            Trace::Message(Title("Use extended parameter"));
            QStringList curResultList;
            value = ExtendedValue(innerResultLists, i, curResultList);
            Trace::Message(Unit + name + u'=' + value);
            if (name == u"Template") {
                name = QStringLiteral("Body");
                const TMailBody body = TemplateBody(fixedValue, curResultList);
                value = body.Text;
                htmlBody = body.Html;
            }
        }
        linkList.append(name + u'=' + value);
        Trace::Separator();
    }
    Trace::Strings(Title("stringList_SendEMailLink"), linkList);
    HandOnMail(context, linkList, htmlBody);
}

void TActionSendEMail::HandOnMail(TActionContext& context, QStringList& linkList, bool htmlBody)
{
    const QString link = CreateLink(linkList);
    Trace::Value(Title("string_EMailLink"), link);
    Trace::Message(Title("Open Link"));
    QString error;
    if (!OpenDocument(link, &error)) {
        Trace::Error(Title("The mail program cannot be opened"), error);
        context.SetActionSuccessfull(false);
        KeepDraft(TActionOutlookSendMail::CreateNewEMail(linkList, htmlBody, nullptr), Caption());
    }
}

QString TActionSendEMail::CreateLink(const QStringList& linkList)
{
    const auto addresses = [&linkList](const char* name) {
        return AddrSpecs(CheckedRecipients(LinkValue(linkList, name)));
    };
    return MailtoLink(addresses("Recipient"),
                      {{QStringLiteral("Subject"), LinkValue(linkList, "Subject"), false},
                       {QStringLiteral("CC"), addresses("CC").join(u','), true},
                       {QStringLiteral("BCC"), addresses("BCC").join(u','), true},
                       {QStringLiteral("Body"), LinkValue(linkList, "Body"), false}});
}

void TActionSendEMail::AddAttachmentsToParameterList(QStringList& linkList, const QStringList& attachments)
{
    for (int i = 0; i < attachments.size(); ++i)
        linkList.append(QStringLiteral("Attachment") + QString::number(i + 1) + u'=' + attachments.at(i));
}

void TActionOutlookSendMail::ExecuteAction(TActionContext& context)
{
    const TraceMethod method(QStringLiteral("TAction_OutlookSendMail::ExecuteAction"));
    TActionSendEMail::ExecuteAction(context);
}

TMailItem TActionOutlookSendMail::CreateNewEMail(const QStringList& linkList, bool htmlBody, QStringList* missing)
{
    TMailItem item;
    item.To = CheckedRecipients(LinkValue(linkList, "Recipient"));
    item.CC = CheckedRecipients(LinkValue(linkList, "CC"));
    item.BCC = CheckedRecipients(LinkValue(linkList, "BCC"));
    item.Subject = LinkValue(linkList, "Subject");
    item.HTMLBody = LinkValue(linkList, "Body");
    item.BodyIsHtml = htmlBody;
    for (int n = 1;; ++n) {
        const QString path = ResultListValue(linkList, QStringLiteral("Attachment") + QString::number(n));
        if (path.isEmpty())
            break;
        if (QFileInfo(path).isFile())
            item.Attachments.append(path);
        else if (missing)
            missing->append(path);
    }
    return item;
}

QString TActionOutlookSendMail::MissingAttachmentsText(const QStringList& missing)
{
    if (missing.isEmpty())
        return {};
    if (missing.size() == 1) {
        return QStringLiteral("Die Datei\n\n") + missing.front() +
            QStringLiteral("\n\nexistiert nicht und wurde nicht zur E-Mail hinzugefügt.");
    }
    return QStringLiteral("Die Dateien\n\n") + missing.join(u'\n') +
        QStringLiteral("\n\nexistieren nicht und wurden nicht zur E-Mail hinzugefügt.");
}

void TActionOutlookSendMail::HandOnMail(TActionContext& context, QStringList& linkList, bool htmlBody)
{
    if (FAttachmentsActive) {
        AddAttachmentsToParameterList(linkList, FAttachments);
        Trace::Strings(Title("stringList_SendEMailLink"), linkList);
    }
    QStringList missing;
    const TMailItem item = CreateNewEMail(linkList, htmlBody, &missing);
    if (const QString notice = MissingAttachmentsText(missing); !notice.isEmpty()) {
        Trace::Warning(Title("Attachments missing"), missing.join(QStringLiteral(", ")));
        if (TUserInterface* ui = UserInterface())
            ui->ShowNotice(Caption(), notice);
    }

    Trace::Message(Title("Open Outlook Message Window"));
    if (FSendEMailImmediately) {
        const TMailAccount account = ReadMailAccount();
        if (!account.IsComplete()) {
            Trace::Warning(Title("No mail account for sending at once, the mail program opens instead"));
        } else {
            try {
                // On a worker thread: the server may take its time, and lines, tray
                // and windows go on meanwhile.
                const auto sent = WaitInBackground<bool>([item, account](const std::atomic<bool>& abandoned) {
                    SendMail(item, account, TSmtpLimits(), &abandoned);
                    return true;
                });
                if (sent) {
                    Trace::Message(Title("Mail sent"));
                    return;
                }
                Trace::Warning(Title("Sending was given up as the program quits, the mail program opens instead"));
            } catch (const EKestrunError& error) {
                // Not lost: the user gets the mail in the composer and can send it from there.
                Trace::Exception(Title("Sending failed, the mail program opens instead"), error);
            }
        }
    }
    QString error;
    if (!OpenMailComposer(item, &error)) {
        Trace::Error(Title("The mail program cannot be opened"), error);
        context.SetActionSuccessfull(false);
        KeepDraft(item, Caption());
    }
}
