// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ResourceFolder.h"

#include <QDir>
#include <QFileInfo>

QString FindResourceFolder(const QString& programFolder, QStringView fileName)
{
    const QDir beside(programFolder);
    if (QFileInfo::exists(beside.filePath(fileName.toString())))
        return beside.path();
    // The build computes this path from the install layout (bin/ to share/...).
    const QDir installed(QDir::cleanPath(beside.filePath(QStringLiteral(KESTRUN_INSTALLED_RESOURCES))));
    if (QFileInfo::exists(installed.filePath(fileName.toString())))
        return installed.path();
    return beside.path();
}
