// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactsFolder.h"

#include "pim/VCardReader.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace {

// The entries of a folder sorted by name in a fixed order, independent of the locale.
QFileInfoList SortedEntries(const QDir& folder, QDir::Filters filters, const QStringList& nameFilters = {})
{
    QFileInfoList entries = folder.entryInfoList(nameFilters, filters | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(entries.begin(), entries.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });
    return entries;
}

void ReadFile(const QFileInfo& info, QList<TContactItem>& contacts)
{
    const QString path = info.filePath();
    if (info.size() > TContactsFolder::MaxFileSize) {
        Trace::Warning("ContactsFolder::Open:File skipped", path + QStringLiteral(": larger than 64 MiB"));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Trace::Warning("ContactsFolder::Open:File skipped", path + QStringLiteral(": ") + file.errorString());
        return;
    }
    for (const TVCard& card : ReadVCards(file.readAll(), path))
        contacts.append(TContactItem::FromVCard(card));
}

// The address-book files of an open folder in reading order.
QFileInfoList AddressBookFiles(const QDir& folder)
{
    // Name filters of QDir ignore letter case: "Export.VCF" is read too.
    const QStringList vCards {QStringLiteral("*.vcf")};
    QFileInfoList files = SortedEntries(folder, QDir::Files, vCards);
    for (const QFileInfo& book : SortedEntries(folder, QDir::Dirs))
        files.append(SortedEntries(QDir(book.filePath()), QDir::Files, vCards));
    return files;
}

QDir OpenFolder(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        throw EKestrunError(QStringLiteral("The contacts folder %1 does not exist").arg(path));
    const QDir folder(path);
    if (!info.isReadable() || !info.isExecutable() || !folder.isReadable())
        throw EKestrunError(QStringLiteral("The contacts folder %1 cannot be read").arg(path));
    return folder;
}

} // namespace

TContactsFolder::TContactsFolder(TContactItems items)
    : m_items(std::move(items))
{
}

TContactsFolder TContactsFolder::Open(const QString& path)
{
    QList<TContactItem> contacts;
    for (const QFileInfo& info : AddressBookFiles(OpenFolder(path)))
        ReadFile(info, contacts);
    Trace::Value("ContactsFolder::Open:Contacts read", qint64(contacts.size()));
    return TContactsFolder(TContactItems(std::move(contacts)));
}

QString TContactsFolder::Signature(const QString& path)
{
    QStringList files {QFileInfo(path).absoluteFilePath()};
    for (const QFileInfo& info : AddressBookFiles(OpenFolder(path))) {
        files.append(info.filePath() + u'|' + QString::number(info.size()) + u'|' +
                     QString::number(info.lastModified().toMSecsSinceEpoch()) + u'|' +
                     QString::number(info.metadataChangeTime().toMSecsSinceEpoch()));
    }
    return files.join(u'\n');
}
