// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MailDrafts.h"

#include "pim/MimeMessage.h"
#include "pim/PimFolders.h"
#include "platform/KestrunError.h"
#include "platform/RuntimeFolder.h"

#include <QSaveFile>
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(message) != message.size() || !file.commit()) {
        throw EKestrunError(QStringLiteral("The mail cannot be kept in \"%1\": %2").arg(path, file.errorString()));
    }
    return path;
}
