// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/PimFolders.h"

#include "platform/DataPaths.h"
#include "platform/Environment.h"
#include "platform/Registry.h"

#include <QDir>

namespace {

QString FolderName(TPimFolderKind kind)
{
    switch (kind) {
    case TPimFolderKind::Contacts:
        return QStringLiteral("contacts");
    case TPimFolderKind::Calendar:
        return QStringLiteral("calendar");
    case TPimFolderKind::Journal:
        return QStringLiteral("journal");
    case TPimFolderKind::Tasks:
        return QStringLiteral("tasks");
    case TPimFolderKind::Notes:
        return QStringLiteral("notes");
    case TPimFolderKind::MailDrafts:
        return QStringLiteral("mail-drafts");
    case TPimFolderKind::ItemDrafts:
        return QStringLiteral("item-drafts");
    }
    return {};
}

} // namespace

QString PimFolderValueName(TPimFolderKind kind)
{
    // "mail-drafts" gives "MailDraftsFolder".
    QString name;
    bool startOfWord = true;
    for (const QChar c : FolderName(kind)) {
        if (c == u'-') {
            startOfWord = true;
            continue;
        }
        name += startOfWord ? c.toUpper() : c;
        startOfWord = false;
    }
    return name + QStringLiteral("Folder");
}

QString PimFolderPath(TPimFolderKind kind)
{
    if (const auto value = ReadRegistryValue(QSettings::UserScope, PimRegistryKey, PimFolderValueName(kind))) {
        const QString configured = ExpandEnvironmentReferences(RegistryString(*value)).trimmed();
        if (!configured.isEmpty())
            return QDir::cleanPath(configured);
    }
    return UserDataHome() + u'/' + FolderName(kind);
}
