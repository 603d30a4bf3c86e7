#include "platform/UnreadableFiles.h"

#include "platform/KestrunError.h"

#include <QDateTime>
#include <QDir>
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
    const QString stem =
        key + QStringLiteral(".unreadable-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int attempt = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++attempt)
        target = stem + u'-' + QString::number(attempt);
    // A rename keeps the file whole and needs no permission to read it.
    if (!QDir().rename(key, target))
        throw EKestrunError(QStringLiteral("Cannot move the unreadable file %1 to %2").arg(key, target));
    g_paths.remove(key);
    return target;
}
