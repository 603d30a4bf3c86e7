// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/UnreadableFiles.h"

#include "platform/KestrunError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

namespace {

QMutex g_mutex;
QSet<QString> g_paths;

QString Key(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

void UnreadableFiles::Remember(const QString& path)
{
    const QMutexLocker lock(&g_mutex);
    g_paths.insert(Key(path));
}

void UnreadableFiles::Forget(const QString& path)
{
    const QMutexLocker lock(&g_mutex);
    g_paths.remove(Key(path));
}

QString UnreadableFiles::KeepAside(const QString& path)
{
    const QString key = Key(path);
    const QMutexLocker lock(&g_mutex);
    if (!g_paths.contains(key))
        return {};
    if (!QFileInfo::exists(key) && !QFileInfo(key).isSymLink()) {
        g_paths.remove(key);
        return {};
    }
    QString target = FreeTargetFor(key);
    // A rename keeps the file whole and needs no permission to read it.
    if (!QDir().rename(key, target))
        throw EKestrunError(QStringLiteral("Cannot move the unreadable file %1 to %2").arg(key, target));
    g_paths.remove(key);
    return target;
}

QString UnreadableFiles::KeepCopy(const QString& path)
{
    const QString key = Key(path);
    const QMutexLocker lock(&g_mutex);
    QString target = FreeTargetFor(key);
    if (!QFile::copy(key, target))
        throw EKestrunError(QStringLiteral("Cannot copy the unreadable file %1 to %2").arg(key, target));
    g_paths.remove(key);
    return target;
}

QString UnreadableFiles::FreeTargetFor(const QString& key)
{
    // A subfolder: the global template's clean-up deletes the files of the data folder, never its folders.
    const QFileInfo info(key);
    const QString folder = info.dir().filePath(QStringLiteral("unreadable"));
    if (!QDir().mkpath(folder))
        throw EKestrunError(QStringLiteral("Cannot create the folder %1 for the unreadable file %2").arg(folder, key));
    const QString stem = folder + u'/' + info.fileName() + QStringLiteral(".unreadable-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int attempt = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++attempt)
        target = stem + u'-' + QString::number(attempt);
    return target;
}
