// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Registry.h"

#include "platform/AtomicFile.h"
#include "platform/KestrunError.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>
#include <QTemporaryDir>

namespace {

struct FileStamp
{
    qint64 size = 0;
    QDateTime modified;

    bool operator==(const FileStamp&) const = default;
};

// Qt parses a file once and serves it from a cache while its size and time stay
// the same, telling only the first reader that the parse failed: the files found
// partly parsed are kept here for every later key, whichever thread opens it.
QMutex g_partlyParsedMutex;
QHash<QString, FileStamp> g_partlyParsed;

bool IsPartlyParsed(const QString& fileName, QSettings::Status status)
{
    const QFileInfo info(fileName);
    const FileStamp stamp {info.size(), info.lastModified()};
    const QMutexLocker lock(&g_partlyParsedMutex);
    if (status == QSettings::FormatError) {
        g_partlyParsed.insert(fileName, stamp);
        return true;
    }
    const auto known = g_partlyParsed.constFind(fileName);
    if (known == g_partlyParsed.cend())
        return false;
    if (*known == stamp)
        return true;
    // Changed since: Qt has read it again, and its status holds.
    g_partlyParsed.erase(known);
    return false;
}

// The name among the given ones that equals it, preferring the exact spelling.
QString MatchIgnoringCase(const QStringList& names, const QString& name)
{
    if (names.contains(name))
        return name;
    for (const QString& candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return name;
}

QStringList Children(QSettings& settings, const QString& group, bool groups)
{
    if (!group.isEmpty())
        settings.beginGroup(group);
    QStringList names = groups ? settings.childGroups() : settings.childKeys();
    if (!group.isEmpty())
        settings.endGroup();
    return names;
}

// The whole file; throws when it cannot be read whole.
QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKestrunError(QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString()));
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EKestrunError(QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString()));
    return content;
}

QHash<QString, QVariant> ReadAll(const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    QHash<QString, QVariant> values;
    if (settings.status() != QSettings::NoError)
        return values;
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

} // namespace

TRegistryKey::TRegistryKey(QSettings::Scope scope, QStringView keyPath)
{
    // "SOFTWARE" itself has no counterpart: the scope's folder plays its part.
    const QStringList parts = keyPath.toString().split(u'\\', Qt::SkipEmptyParts);
    m_settings = std::make_unique<QSettings>(QSettings::IniFormat, scope, parts.value(1), parts.value(2));
    // Qt would otherwise also read the machine-wide file and the organisation's own file.
    m_settings->setFallbacksEnabled(false);
    m_partlyParsed = IsPartlyParsed(m_settings->fileName(), m_settings->status());
    for (const QString& part : parts.mid(3)) {
        const QString name = MatchIgnoringCase(Children(*m_settings, m_group, true), part);
        m_group = m_group.isEmpty() ? name : m_group + u'/' + name;
    }
}

TRegistryKey::~TRegistryKey() = default;

bool TRegistryKey::IsOpen() const
{
    return m_settings->status() != QSettings::AccessError;
}

bool TRegistryKey::IsParsedWhole() const
{
    return !m_partlyParsed;
}

QString TRegistryKey::FileName() const
{
    return m_settings->fileName();
}

std::optional<QVariant> TRegistryKey::ReadValue(const QString& name) const
{
    if (!IsOpen())
        return std::nullopt;
    const QString key = StoredKey(name);
    if (!m_settings->contains(key))
        return std::nullopt;
    return m_settings->value(key);
}

bool TRegistryKey::WriteValue(const QString& name, const QVariant& value)
{
    return WriteValues({{name, value}});
}

bool TRegistryKey::WriteValues(const QList<std::pair<QString, std::optional<QVariant>>>& values)
{
    if (!Writable())
        return false;
    // QSettings does not notice a write that fails (a full disk): it cuts the file
    // short and reports success. The new file is made as a copy, checked whole, and
    // put in place the way the program writes every file.
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("new.ini"));
    if (!scratch.isValid() || (QFileInfo::exists(FileName()) && !QFile::copy(FileName(), copy)))
        return false;
    QHash<QString, QVariant> expected;
    {
        QSettings changed(copy, QSettings::IniFormat);
        for (const auto& [name, value] : values) {
            if (value)
                changed.setValue(StoredKey(name), *value);
            else
                changed.remove(StoredKey(name));
        }
        changed.sync();
        if (changed.status() != QSettings::NoError)
            return false;
        for (const QString& key : changed.allKeys())
            expected.insert(key, changed.value(key));
    }
    try {
        const QByteArray content = ReadWhole(copy);
        // Under another name: Qt would answer from what it wrote, not from the disk.
        const QString check = scratch.filePath(QStringLiteral("check.ini"));
        WriteFileAtomically(check, content);
        if (ReadAll(check) != expected)
            return false;
        WriteFileAtomically(FileName(), content);
    } catch (const EKestrunError&) {
        return false;
    }
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

bool TRegistryKey::DeleteValue(const QString& name)
{
    return HasValue(name) && WriteValues({{name, std::nullopt}});
}

QString TRegistryKey::StoredKey(const QString& name) const
{
    const QString stored = MatchIgnoringCase(Children(*m_settings, m_group, false), name);
    return m_group.isEmpty() ? stored : m_group + u'/' + stored;
}

bool TRegistryKey::Writable() const
{
    return !m_partlyParsed && m_settings->status() == QSettings::NoError && m_settings->isWritable();
}

std::optional<QVariant> ReadRegistryValue(QSettings::Scope scope, QStringView keyPath, const QString& name)
{
    return TRegistryKey(scope, keyPath).ReadValue(name);
}

QString RegistryString(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}
