// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Registry.h"

#include "SettingsSandbox.h"

#include <gtest/gtest.h>

namespace {

constexpr QStringView OptionsKey = u"SOFTWARE\\Orvix\\OrvixIt!\\CurrentVersion\\Options";
constexpr QStringView OwnKey = u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt";

} // namespace

TEST(Registry, KeysAndValueNamesIgnoreCase)
{
    const SettingsSandbox settings;
    settings.WriteUserFile(QStringLiteral("Orvix/OrvixIt!.ini"),
                           "[currentversion]\nOPTIONS\\pbxserver=pbx.example.com\n");
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           "[General]\nvelquistserver=dir.example.com\n");

    EXPECT_EQ(ReadRegistryValue(QSettings::UserScope, OptionsKey, QStringLiteral("PbxServer")),
              std::optional<QVariant>(QStringLiteral("pbx.example.com")));
    EXPECT_EQ(ReadRegistryValue(QSettings::UserScope, OwnKey, QStringLiteral("VelquistServer")),
              std::optional<QVariant>(QStringLiteral("dir.example.com")));
    EXPECT_FALSE(ReadRegistryValue(QSettings::UserScope, OwnKey, QStringLiteral("PbxServer")));
    // The user's key does not look into the machine-wide file.
    EXPECT_FALSE(ReadRegistryValue(QSettings::SystemScope, OwnKey, QStringLiteral("VelquistServer")));
}

TEST(Registry, WrittenValuesReadBackAndKeepTheFilesSpelling)
{
    const SettingsSandbox settings;
    settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                           "[storage]\nuseglobaltemplate=2\n");
    {
        TRegistryKey key(QSettings::UserScope, u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\Storage");
        ASSERT_TRUE(key.WriteValue(QStringLiteral("UseGlobalTemplate"), 1));
        ASSERT_TRUE(key.WriteValue(QStringLiteral("GlobalTemplatePath"), QStringLiteral("/srv/Vorlagen, Zentrale")));
    }
    QSettings file(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrun"),
                   QStringLiteral("Event Controller for OrvixIt"));
    EXPECT_EQ(
        file.allKeys(),
        (QStringList {QStringLiteral("storage/GlobalTemplatePath"), QStringLiteral("storage/useglobaltemplate")}));
    const TRegistryKey key(QSettings::UserScope, u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\Storage");
    EXPECT_EQ(RegistryString(*key.ReadValue(QStringLiteral("GlobalTemplatePath"))),
              QStringLiteral("/srv/Vorlagen, Zentrale"));
    EXPECT_EQ(key.ReadValue(QStringLiteral("UseGlobalTemplate"))->toInt(), 1);
}

TEST(Registry, AFileQtCannotParseWholeIsReadButNeverRewritten)
{
    const SettingsSandbox settings;
    const QByteArray content = "[Storage\nnot a line of an INI file\nType=3\nUseGlobalTemplate=1\n";
    settings.WriteMachineFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"), content);

    // Qt tells only the first reader of a file that it could not parse it; later keys must know too.
    for (const char* reader : {"first", "second"}) {
        SCOPED_TRACE(reader);
        TRegistryKey key(QSettings::SystemScope, u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\Storage");
        EXPECT_TRUE(key.IsOpen());
        EXPECT_FALSE(key.IsParsedWhole());
        EXPECT_TRUE(key.HasValue(QStringLiteral("UseGlobalTemplate")));
        EXPECT_FALSE(key.DeleteValue(QStringLiteral("Type")));
        EXPECT_FALSE(key.WriteValue(QStringLiteral("UseGlobalTemplate"), 0));
        EXPECT_EQ(settings.ReadMachineFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini")), content);
    }
    // Once the administrator has repaired it, it is an ordinary file again.
    settings.WriteMachineFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                              "[Storage]\nType=3\nUseGlobalTemplate=1\n");
    TRegistryKey repaired(QSettings::SystemScope, u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\Storage");
    EXPECT_TRUE(repaired.IsParsedWhole());
    EXPECT_TRUE(repaired.DeleteValue(QStringLiteral("Type")));
}
