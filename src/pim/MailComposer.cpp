// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MailComposer.h"

#include "pim/MailAddress.h"
#include "pim/MailtoLink.h"
#include "platform/DocumentOpener.h"
#include "platform/ProcessStart.h"

#include <QTextDocumentFragment>

#include <utility>

namespace {

bool RunXdgEmail(const TMailItem& item, QString* error)
{
    const QString program = QStringLiteral("xdg-email");
    const std::optional<int> status = RunProcessForStatus(program, XdgEmailArguments(item), DesktopHandOverMs, error);
    if (status && *status != 0)
        *error = DesktopToolFailure(program, *status);
    return status == 0;
}

TMailComposer& CurrentComposer()
{
    static TMailComposer composer = RunXdgEmail;
    return composer;
}

} // namespace

QString ComposerLink(const TMailItem& item)
{
    const QString body = item.BodyIsHtml ? QTextDocumentFragment::fromHtml(item.HTMLBody).toPlainText() : item.HTMLBody;
    // Lower-case field names: xdg-email looks for them so when it hands the link on.
    return MailtoLink(AddrSpecs(item.To),
                      {{QStringLiteral("cc"), AddrSpecs(item.CC).join(u','), true},
                       {QStringLiteral("bcc"), AddrSpecs(item.BCC).join(u','), true},
                       {QStringLiteral("subject"), item.Subject, false},
                       {QStringLiteral("body"), body, false}});
}

QStringList XdgEmailArguments(const TMailItem& item)
{
    QStringList arguments {QStringLiteral("--utf8")};
    for (const QString& path : item.Attachments)
        arguments << QStringLiteral("--attach") << path;
    return arguments << ComposerLink(item);
}

bool OpenMailComposer(const TMailItem& item, QString* error)
{
    QString reason;
    const bool opened = CurrentComposer()(item, &reason);
    if (error)
        *error = reason;
    return opened;
}

TMailComposer ReplaceMailComposer(TMailComposer composer)
{
    return std::exchange(CurrentComposer(), std::move(composer));
}
