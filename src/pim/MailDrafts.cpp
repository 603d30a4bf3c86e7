// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MailDrafts.h"

#include "pim/MimeMessage.h"
#include "pim/PimFolders.h"
#include "platform/AtomicFile.h"
#include "platform/KestrunError.h"
#include "platform/RuntimeFolder.h"

#include <QUuid>

QString KeepMailDraft(const TMailItem& item, const QString& sender, const QDateTime& date)
{
    QByteArray message;
    try {
        message = BuildMimeMessage(item, sender, date);
    } catch (const EKestrunError&) {
        // An attachment gone meanwhile must not cost the mail itself.
        TMailItem withoutAttachments = item;
        withoutAttachments.Attachments.clear();
        message = BuildMimeMessage(withoutAttachments, sender, date);
    }
    const QString folder = PimFolderPath(TPimFolderKind::MailDrafts);
    CreatePrivateFolder(folder);
    QString path = folder + u'/' + date.toString(QStringLiteral("yyyyMMdd-HHmmss-")) +
        QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".eml");
    try {
        WriteFileAtomically(path, message, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    } catch (const EKestrunError& error) {
        throw EKestrunError(QStringLiteral("The mail cannot be kept in \"%1\": %2").arg(path, error.Message()));
    }
    return path;
}
