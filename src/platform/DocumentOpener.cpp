#include "platform/DocumentOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <utility>

namespace {

// A document is an address when it names a scheme of more than one letter: "C:"
// in a path taken over from Windows is a drive, not a scheme.
QUrl DocumentUrl(const QString& document)
{
    const QUrl url(document, QUrl::StrictMode);
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
    if (!QDesktopServices::openUrl(url)) {
        *error = QStringLiteral("No program to open it: ") + document;
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
