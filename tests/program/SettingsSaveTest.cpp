// SPDX-License-Identifier: GPL-3.0-or-later

// Saving the settings dialog's values: both files or neither, and the values in
// force change only with a save that went through.
#include "settings/SettingsSave.h"
#include "FakeLineManager.h"
#include "FileSizeLimit.h"
#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "TestFiles.h"
#include "TraceCapture.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "platform/Registry.h"
#include "program/Program.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

class SettingsSaveTest : public ::testing::Test
{
protected:
    SettingsSaveTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()))
    {
        QDir().mkpath(UserDataPath());
    }

    static QString StorageFile() { return TRegistryKey(QSettings::UserScope, StorageRegistryKey).FileName(); }

    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    SettingsSandbox m_settings;
    TraceCapture m_trace;
};

TNotificationSettings ChangedSettings()
{
    TNotificationSettings settings;
    settings.DesktopNotificationMonitor = 0;
    settings.DesktopNotificationPosition = 2;
    settings.DesktopNotificationColor = RGB(227, 236, 247);
    settings.DesktopNotificationTransparencyValue = 180;
    settings.DesktopNotificationIsWindowsColor = false;
    settings.DesktopNotificationIsAccentColor = true;
    return settings;
}

} // namespace

TEST_F(SettingsSaveTest, EverySettingIsSavedAndReadBackAtTheNextStart)
{
    const QString templateFolder = m_home.filePath(QStringLiteral("vorlage, zentral"));
    const struct
    {
        TStorageOptions saved;
        TStorageOptions read;
    } cases[] = {
        {{gtNone, templateFolder}, {gtNone, templateFolder}},
        {{gtFromPath, templateFolder}, {gtFromPath, templateFolder}},
        // Mode 2 always means the default folder, whatever path is stored.
        {{gtFromDefaultFolder, templateFolder}, {gtFromDefaultFolder, DefaultGlobalTemplatePath()}},
    };
    m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"), "[History]\nMaxCalls=10\n");
    for (const auto& entry : cases) {
        SCOPED_TRACE(int(entry.saved.UseGlobalTemplate));
        const TNotificationSettings settings = ChangedSettings();
        SaveSettings(entry.saved, settings);

        TNotificationSettings read;
        ASSERT_TRUE(ReadSettingsXML(QString(), read, 1));
        EXPECT_EQ(read, settings);
        EXPECT_EQ(GetStorageOptions(), entry.read);
        // The file holds more than the storage options; those stay.
        EXPECT_EQ(ReadRegistryValue(QSettings::UserScope, u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\History",
                                    QStringLiteral("MaxCalls")),
                  QVariant(QStringLiteral("10")));
    }
}

// Whichever file fails, neither changes, the values in force stay and nobody is
// told of new ones; the error names the file.
TEST_F(SettingsSaveTest, ASaveThatFailsChangesNothingAndSaysWhy)
{
    const QString settingsFile = DataPathUserSettingsFile();
    const struct
    {
        const char* name;
        // Breaks one of the files; returns the path the error must name.
        std::function<QString()> breakFile;
        // A disk that fills up after so many bytes of a file; 0 for none.
        rlim_t diskFullAfter = 0;
    } cases[] = {
        {"settings file is a folder",
         [&] {
             QDir().mkpath(settingsFile);
             return settingsFile;
         }},
        {"storage file is a folder",
         [&] {
             QFile::remove(StorageFile());
             QDir().mkpath(StorageFile());
             return StorageFile();
         }},
        {"disk full while the storage file is written",
         [&] {
             WriteFile(StorageFile(),
                       "[Storage]\nUseGlobalTemplate=0\n[History]\nNote=" + QByteArray(2000, 'x') + '\n');
             return StorageFile();
         },
         1500},
        {"storage file holds lines Qt cannot read",
         [&] {
             WriteFile(StorageFile(), "[Storage]\nUseGlobalTemplate=0\n[Storage\n");
             return StorageFile();
         }},
        // Fails after the storage options are written: they are written back.
        {"unreadable settings file cannot be kept aside",
         [&] {
             WriteFile(settingsFile, "<config><general>");
             TNotificationSettings ignored;
             EXPECT_FALSE(ReadSettingsXML(QString(), ignored, 1));
             WriteFile(QDir(UserDataPath()).filePath(QStringLiteral("unreadable")), "a file, no folder");
             return QDir(UserDataPath()).filePath(QStringLiteral("unreadable"));
         }},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        QDir(UserDataPath()).removeRecursively();
        QDir().mkpath(UserDataPath());
        QDir(StorageFile()).removeRecursively();
        m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                                 "[Storage]\nUseGlobalTemplate=0\nGlobalTemplatePath=/alt\n");
        FakeLineManager softphone;
        TProgram program(&softphone);
        const TStorageOptions optionsInForce = program.StorageOptions();
        const TNotificationSettings settingsInForce = program.NotificationSettings();
        const QString mentioned = entry.breakFile();
        const TStoredStorageOptions storageBefore = ReadStoredStorageOptions();
        const QByteArray settingsBefore = ReadFile(settingsFile);
        QSignalSpy notification(&program, &TProgram::NotificationSettingsChanged);
        QSignalSpy storage(&program, &TProgram::StorageOptionsChanged);

        try {
            std::optional<FileSizeLimit> diskFull;
            if (entry.diskFullAfter)
                diskFull.emplace(entry.diskFullAfter);
            program.SaveSettings({gtFromPath, QStringLiteral("/neu")}, ChangedSettings());
            ADD_FAILURE() << "saved";
        } catch (const EKestrunError& error) {
            EXPECT_TRUE(error.Message().contains(mentioned)) << error.Message().toStdString();
        }

        EXPECT_EQ(program.StorageOptions(), optionsInForce);
        EXPECT_EQ(program.NotificationSettings(), settingsInForce);
        EXPECT_EQ(notification.count(), 0);
        EXPECT_EQ(storage.count(), 0);
        // Read by a key opened afterwards: Qt would keep values it could not write
        // for later readers in the process.
        EXPECT_EQ(ReadStoredStorageOptions(), storageBefore);
        EXPECT_EQ(ReadFile(settingsFile), settingsBefore);
    }
}

TEST_F(SettingsSaveTest, ASaveThatWentThroughPutsTheValuesInForceAndAnnouncesThem)
{
    FakeLineManager softphone;
    TProgram program(&softphone);
    QSignalSpy notification(&program, &TProgram::NotificationSettingsChanged);
    QSignalSpy storage(&program, &TProgram::StorageOptionsChanged);
    const TStorageOptions options {gtFromPath, m_home.path()};

    program.SaveSettings(options, ChangedSettings());

    EXPECT_EQ(program.NotificationSettings(), ChangedSettings());
    EXPECT_EQ(program.StorageOptions(), options);
    ASSERT_EQ(notification.count(), 1);
    EXPECT_EQ(notification.at(0).at(0).value<TNotificationSettings>(), ChangedSettings());
    EXPECT_EQ(storage.count(), 1);
}
