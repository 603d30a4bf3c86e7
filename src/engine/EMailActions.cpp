// Running the e-mail actions: the engine part of the plain e-mail action (a
// mailto link opened by the desktop) and of the mail-program action (a mail
// sent over SMTP or handed to the user's composer). Both fill their five fields
// the same way: a fixed value, or the results of the field's inner action.

#include "actions/ActionOutlookSendMail.h"
#include "engine/TemplateFilling.h"
#include "frontend/UserInterface.h"
#include "pim/MailAccount.h"
#include "pim/MailComposer.h"
#include "pim/SmtpSender.h"
#include "platform/DocumentOpener.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QFileInfo>
#include <QUrl>

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

// RFC 6068: every character but the unreserved ones percent-encoded as UTF-8; in
// addresses "@" and the "," between them stay as they are. Line breaks become CR LF.
QString Encoded(QString value, bool address)
{
    value.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    value.replace(u'\n', QStringLiteral("\r\n"));
    return QString::fromLatin1(QUrl::toPercentEncoding(value, address ? "@," : ""));
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
QString TemplateBody(const QString& path, const QStringList& resultList)
{
    if (path.trimmed().isEmpty()) {
        Trace::Warning(Title("No template file named, the mail has no body"));
        return {};
    }
    return HandleTemplate(path, &resultList, TTemplateFiller::SendEMail);
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
                value = TemplateBody(fixedValue, ownResultList);
            }
        } else {
            Trace::Message(Title("Use extended parameter"));
            QStringList curResultList;
            value = ExtendedValue(innerResultLists, i, curResultList);
            Trace::Message(Unit + name + u'=' + value);
            if (name == u"Template") {
                name = QStringLiteral("Body");
                value = TemplateBody(fixedValue, curResultList);
            }
        }
        linkList.append(name + u'=' + value);
        Trace::Separator();
    }
    Trace::Strings(Title("stringList_SendEMailLink"), linkList);
    HandOnMail(context, linkList);
}

void TActionSendEMail::HandOnMail(TActionContext& context, QStringList& linkList)
{
    const QString link = CreateLink(linkList);
    Trace::Value(Title("string_EMailLink"), link);
    Trace::Message(Title("Open Link"));
    QString error;
    if (!OpenDocument(link, &error)) {
        Trace::Error(Title("The mail program cannot be opened"), error);
        context.SetActionSuccessfull(false);
    }
}

QString TActionSendEMail::CreateLink(const QStringList& linkList)
{
    QString link = QStringLiteral("mailto:") + Encoded(LinkValue(linkList, "Recipient"), true);
    QChar separator = u'?';
    const auto append = [&](const char* name, bool address) {
        const QString value = LinkValue(linkList, name);
        if (value.isEmpty())
            return;
        link += separator + QString::fromLatin1(name) + u'=' + Encoded(value, address);
        separator = u'&';
    };
    append("Subject", false);
    append("CC", true);
    append("BCC", true);
    append("Body", false);
    return link;
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

TMailItem TActionOutlookSendMail::CreateNewEMail(const QStringList& linkList, QStringList* missing)
{
    TMailItem item;
    item.To = MailAddresses(LinkValue(linkList, "Recipient"));
    item.CC = MailAddresses(LinkValue(linkList, "CC"));
    item.BCC = MailAddresses(LinkValue(linkList, "BCC"));
    item.Subject = LinkValue(linkList, "Subject");
    item.HTMLBody = LinkValue(linkList, "Body");
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

void TActionOutlookSendMail::HandOnMail(TActionContext& context, QStringList& linkList)
{
    if (FAttachmentsActive) {
        AddAttachmentsToParameterList(linkList, FAttachments);
        Trace::Strings(Title("stringList_SendEMailLink"), linkList);
    }
    QStringList missing;
    const TMailItem item = CreateNewEMail(linkList, &missing);
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
                SendMail(item, account);
                Trace::Message(Title("Mail sent"));
                return;
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
    }
}
