// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/RuntimeFolder.h"

#include "platform/KestrunError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder as it is, not what a link there points to: a link planted in the
// shared temporary folder must not lead our files elsewhere.
bool IsOwnFolder(const QString& path)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

} // namespace

void CreatePrivateFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    // The missing folders from the deepest existing one downwards.
    QStringList missing;
    for (QString folder = clean; !QFileInfo::exists(folder) && folder != QStringLiteral("/");
         folder = QFileInfo(folder).path())
        missing.prepend(folder);
    for (const QString& folder : std::as_const(missing)) {
        if (::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) != 0 && !QFileInfo(folder).isDir())
            throw EKestrunError(QStringLiteral("Cannot create folder ") + folder);
    }
    if (!QFileInfo(clean).isDir() || ::chmod(QFile::encodeName(clean).constData(), S_IRWXU) != 0)
        throw EKestrunError(QStringLiteral("Cannot make folder private ") + clean);
}

QString UserRuntimePath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime);
    QString fallback = QDir::tempPath() + QStringLiteral("/kestrun-") + QString::number(::getuid());
    if (QFileInfo::exists(fallback) && !IsOwnFolder(fallback))
        throw EKestrunError(QStringLiteral("Folder does not belong to this user: ") + fallback);
    CreatePrivateFolder(fallback);
    return fallback;
}
