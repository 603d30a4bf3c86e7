// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/PimItemDrafts.h"

#include "pim/PimFolders.h"
#include "platform/AtomicFile.h"
#include "platform/KestrunError.h"
#include "platform/RuntimeFolder.h"
#include "platform/UnreadableFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include <array>
#include <optional>

namespace {

// A draft must give back exactly what the user typed, which an iCalendar parser
// does not (it drops the spaces a text starts with), so drafts are JSON: every
// character of every text survives, and the file is the program's own business.
constexpr std::array KindNames = {
    std::pair {TPimItemKind::Note, u"note"}, std::pair {TPimItemKind::Journal, u"journal"},
    std::pair {TPimItemKind::Appointment, u"appointment"}, std::pair {TPimItemKind::Task, u"task"}};

QString KindName(TPimItemKind kind)
{
    for (const auto& [known, name] : KindNames) {
        if (known == kind)
            return QString::fromUtf16(name);
    }
    return {};
}

std::optional<TPimItemKind> KindOf(const QString& name)
{
    for (const auto& [kind, known] : KindNames) {
        if (name == QStringView(known))
            return kind;
    }
    return std::nullopt;
}

void PutTime(QJsonObject& object, const QString& key, const QDateTime& time)
{
    if (time.isValid())
        object.insert(key, time.toUTC().toString(Qt::ISODateWithMs));
}

QByteArray DraftText(const TPimItem& item)
{
    QJsonObject object {
        {QStringLiteral("kind"), KindName(item.Kind)}, {QStringLiteral("uid"), item.Uid},
        {QStringLiteral("subject"), item.Subject},     {QStringLiteral("body"), item.Body},
        {QStringLiteral("contact"), item.Contact},     {QStringLiteral("completed"), item.Completed},
    };
    PutTime(object, QStringLiteral("start"), item.Start);
    PutTime(object, QStringLiteral("end"), item.End);
    PutTime(object, QStringLiteral("due"), item.Due);
    return QJsonDocument(object).toJson();
}

[[noreturn]] void Unreadable(const QString& path, const QString& cause)
{
    throw EKestrunError(QStringLiteral("The draft \"%1\" cannot be read: %2").arg(path, cause));
}

QString TextOf(const QJsonObject& object, const QString& key, const QString& path)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return {};
    if (!value.isString())
        Unreadable(path, QStringLiteral("\"%1\" is no text").arg(key));
    return value.toString();
}

QDateTime TimeOf(const QJsonObject& object, const QString& key, const QString& path)
{
    const QString text = TextOf(object, key, path);
    if (text.isEmpty())
        return {};
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid())
        Unreadable(path, QStringLiteral("\"%1\" is no time").arg(key));
    return time;
}

TPimItem ReadDraft(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Unreadable(path, file.errorString());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject())
        Unreadable(path, error.error != QJsonParseError::NoError ? error.errorString() : QStringLiteral("no object"));
    const QJsonObject object = document.object();
    const std::optional<TPimItemKind> kind = KindOf(TextOf(object, QStringLiteral("kind"), path));
    if (!kind)
        Unreadable(path, QStringLiteral("no kind of item"));
    TPimItem item;
    item.Kind = *kind;
    item.Uid = TextOf(object, QStringLiteral("uid"), path);
    item.Subject = TextOf(object, QStringLiteral("subject"), path);
    item.Body = TextOf(object, QStringLiteral("body"), path);
    item.Contact = TextOf(object, QStringLiteral("contact"), path);
    item.Start = TimeOf(object, QStringLiteral("start"), path);
    item.End = TimeOf(object, QStringLiteral("end"), path);
    item.Due = TimeOf(object, QStringLiteral("due"), path);
    item.Completed = object.value(QStringLiteral("completed")).toBool();
    return item;
}

} // namespace

QString KeepPimItemDraft(TPimItem& item)
{
    // The UID names the file: only one of the program's own making does.
    if (QUuid::fromString(item.Uid).isNull())
        item.Uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString folder = PimFolderPath(TPimFolderKind::ItemDrafts);
    CreatePrivateFolder(folder);
    QString path = folder + u'/' + QUuid::fromString(item.Uid).toString(QUuid::WithoutBraces) + QStringLiteral(".json");
    try {
        WriteFileAtomically(path, DraftText(item), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    } catch (const EKestrunError& error) {
        throw EKestrunError(QStringLiteral("The draft cannot be kept in \"%1\": %2").arg(path, error.Message()));
    }
    return path;
}

TPimItemDrafts ReadPimItemDrafts()
{
    TPimItemDrafts drafts;
    const QDir folder(PimFolderPath(TPimFolderKind::ItemDrafts));
    // Oldest first: the order in which the user left them.
    const QStringList names = folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        try {
            drafts.Drafts.push_back({path, ReadDraft(path)});
        } catch (const EKestrunError& error) {
            TUnreadablePimItemDraft unreadable {path, QString(), error.Message()};
            UnreadableFiles::Remember(path);
            try {
                unreadable.KeptAs = UnreadableFiles::KeepAside(path);
            } catch (const EKestrunError& moveError) {
                UnreadableFiles::Forget(path);
                unreadable.Error += QStringLiteral("; ") + moveError.Message();
            }
            drafts.Unreadable.push_back(unreadable);
        }
    }
    return drafts;
}

void RemovePimItemDraft(const QString& path)
{
    QFile file(path);
    if (file.exists() && !file.remove())
        throw EKestrunError(QStringLiteral("The draft \"%1\" cannot be removed: %2").arg(path, file.errorString()));
}
