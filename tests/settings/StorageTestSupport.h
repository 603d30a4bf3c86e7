// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "TestFiles.h"
#include "TraceCapture.h"
#include "platform/DataPaths.h"
#include "settings/Storage.h"
#include "settings/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

/**
 * Every test gets its own data folder (through XDG_CONFIG_HOME), its own
 * per-user and machine-wide settings files, storage options and notification
 * settings of its own at their start values, and a captured trace.
 */
class StorageTest : public ::testing::Test
{
protected:
    StorageTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()))
    {
    }

    static QString DataFile(const QString& name) { return QDir(UserDataPath()).filePath(name); }
    static QStringList DataFolderEntries()
    {
        return QDir(UserDataPath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    TStorageOptions options;
    TNotificationSettings settings;
    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    SettingsSandbox m_settings;
    TraceCapture m_trace;
};
