// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A stand-in for xdg-email or xdg-open, put first in PATH: it writes the arguments it
// gets, each on a line of its own, into a file at once (a reader never sees half of
// them), stays for secondsBeforeExit as a slow desktop tool does, and ends with the
// exit status asked for.
class DesktopToolStandIn
{
public:
    DesktopToolStandIn(const char* tool, int status, int secondsBeforeExit = 0)
        : m_path("PATH", QByteArray(QFile::encodeName(m_folder.path()) + ':' + qgetenv("PATH")))
    {
        const QString script = m_folder.filePath(QString::fromLatin1(tool));
        WriteFile(script,
                  QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.part'\n"
                                 "mv '%1.part' '%1'\nsleep %3\nexit %2\n")
                      .arg(ArgumentsFile())
                      .arg(status)
                      .arg(secondsBeforeExit)
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
