#include "pim/MailComposer.h"

#include "platform/ProcessStart.h"

#include <QTextDocument>
#include <QTextDocumentFragment>

#include <utility>

namespace {

bool StartXdgEmail(const TMailItem& item, QString* error)
{
    return StartDetachedProcess(QStringLiteral("xdg-email"), XdgEmailArguments(item), error).has_value();
}

TMailComposer& CurrentComposer()
{
    static TMailComposer composer = StartXdgEmail;
    return composer;
}

} // namespace

QStringList XdgEmailArguments(const TMailItem& item)
{
    QStringList arguments {QStringLiteral("--utf8")};
    for (const QString& address : item.CC)
        arguments << QStringLiteral("--cc") << address;
    for (const QString& address : item.BCC)
        arguments << QStringLiteral("--bcc") << address;
    if (!item.Subject.isEmpty())
        arguments << QStringLiteral("--subject") << item.Subject;
    if (!item.HTMLBody.isEmpty()) {
        const QString body = Qt::mightBeRichText(item.HTMLBody)
            ? QTextDocumentFragment::fromHtml(item.HTMLBody).toPlainText()
            : item.HTMLBody;
        arguments << QStringLiteral("--body") << body;
    }
    for (const QString& path : item.Attachments)
        arguments << QStringLiteral("--attach") << path;
    // Trailing addresses that look like options could make xdg-email attach a
    // file named in call data; an address never starts with "-".
    for (const QString& address : item.To) {
        if (!address.startsWith(u'-'))
            arguments << address;
    }
    return arguments;
}

bool OpenMailComposer(const TMailItem& item, QString* error)
{
    return CurrentComposer()(item, error);
}

TMailComposer ReplaceMailComposer(TMailComposer composer)
{
    return std::exchange(CurrentComposer(), std::move(composer));
}
