// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

/**
 * Per-user and machine-wide settings folders of a test, in place of
 * $XDG_CONFIG_HOME and /etc/xdg; the real user's files are never touched.
 * Files are written as text, the way an administrator would write them.
 */
class SettingsSandbox
{
public:
    SettingsSandbox()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_user.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_machine.path());
    }

    void WriteUserFile(const QString& relativePath, const QByteArray& content) const
    {
        Write(m_user.path(), relativePath, content);
    }
    void WriteMachineFile(const QString& relativePath, const QByteArray& content) const
    {
        Write(m_machine.path(), relativePath, content);
    }
    QByteArray ReadMachineFile(const QString& relativePath) const
    {
        return ReadFile(m_machine.path() + u'/' + relativePath);
    }

private:
    static void Write(const QString& folder, const QString& relativePath, const QByteArray& content)
    {
        WriteFile(folder + u'/' + relativePath, content);
    }

    QTemporaryDir m_user;
    QTemporaryDir m_machine;
};
