// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A stand-in for xdg-email or xdg-open, put first in PATH: it writes each argument
// it gets on a line of its own into a file and ends with the exit status asked for.
class DesktopToolStandIn
{
public:
    DesktopToolStandIn(const char* tool, int status)
        : m_path("PATH", QByteArray(QFile::encodeName(m_folder.path()) + ':' + qgetenv("PATH")))
    {
        const QString script = m_folder.filePath(QString::fromLatin1(tool));
        WriteFile(script,
                  QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '%1'; done\nexit %2\n")
                      .arg(ArgumentsFile())
                      .arg(status)
                      .toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QStringList Arguments() const
    {
        return QString::fromUtf8(ReadFile(ArgumentsFile())).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QString ArgumentsFile() const { return m_folder.filePath(QStringLiteral("arguments")); }

    QTemporaryDir m_folder;
    ScopedEnvironment m_path;
};
