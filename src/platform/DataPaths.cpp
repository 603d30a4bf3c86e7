// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DataPaths.h"

#include <QDir>

QString UserDataPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    QString path = base + QStringLiteral("/Kestrun/EventController for OrvixIt!");
    QDir().mkpath(path);
    return path;
}

QString DataPathRulesFile()
{
    return UserDataPath() + QStringLiteral("/rules.xml");
}

QString DataPathUserSettingsFile()
{
    return UserDataPath() + QStringLiteral("/usersettings.xml");
}

QString UserDataHome()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    const QString base =
        QDir::isAbsolutePath(configured) ? configured : QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/kestrun");
}
