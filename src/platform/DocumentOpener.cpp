// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DocumentOpener.h"

#include "platform/ProcessStart.h"

#include <QFileInfo>
#include <QUrl>

#include <utility>

namespace {

// A document is an address when it names a scheme of more than one letter: "C:"
// in a path taken over from Windows is a drive, not a scheme.
QUrl DocumentUrl(const QString& document)
{
    QUrl url(document, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(document);
}

bool OpenWithDesktop(const QString& document, QString* error)
{
    const QUrl url = DocumentUrl(document);
    // The desktop is told to open a missing file and says nothing; ask first.
    if (document.isEmpty() || (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))) {
        *error = QStringLiteral("Document not found: ") + document;
        return false;
    }
    // xdg-open tells by its exit status whether the desktop could open it; a
    // local path is made absolute so that it can never read as an option.
    const QString argument =
        url.isLocalFile() ? QFileInfo(url.toLocalFile()).absoluteFilePath() : QString::fromLatin1(url.toEncoded());
    const std::optional<int> status =
        RunProcessForStatus(QStringLiteral("xdg-open"), {argument}, DesktopHandOverMs, error);
    if (!status)
        return false;
    if (*status != 0) {
        *error = DesktopToolFailure(QStringLiteral("xdg-open"), *status) + QStringLiteral(": ") + document;
        return false;
    }
    return true;
}

TDocumentOpener& CurrentOpener()
{
    static TDocumentOpener opener = OpenWithDesktop;
    return opener;
}

} // namespace

QString DesktopToolFailure(const QString& tool, int status)
{
    // The exit statuses every xdg-utils tool documents.
    switch (status) {
    case 1:
        return tool + QStringLiteral(" refused its arguments (exit status 1)");
    case 2:
        return tool + QStringLiteral(" found no such file (exit status 2)");
    case 3:
        return tool + QStringLiteral(" found no program for it (exit status 3)");
    case 4:
        return tool + QStringLiteral(" could not open it (exit status 4)");
    default:
        return tool + QStringLiteral(" failed (exit status %1)").arg(status);
    }
}

bool OpenDocument(const QString& document, QString* error)
{
    QString reason;
    const bool opened = CurrentOpener()(document, &reason);
    if (error)
        *error = reason;
    return opened;
}

TDocumentOpener ReplaceDocumentOpener(TDocumentOpener opener)
{
    return std::exchange(CurrentOpener(), std::move(opener));
}
