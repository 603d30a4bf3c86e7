// SPDX-License-Identifier: GPL-3.0-or-later

#include "StorageTestSupport.h"

#include "platform/Registry.h"
#include "settings/Storage.h"

#include <QDir>

namespace {

const QString IniFile = QStringLiteral("Kestrun/Event Controller for OrvixIt.ini");

struct StorageOptionsCase
{
    const char* name;
    QByteArray user;
    QByteArray machine;
    TGlobalTemplateMode mode;
    // Empty: the default template folder.
    QString path;
};

void PrintTo(const StorageOptionsCase& entry, std::ostream* os)
{
    *os << entry.name;
}

class StorageOptions : public StorageTest, public ::testing::WithParamInterface<StorageOptionsCase>
{
};

} // namespace

TEST_P(StorageOptions, ThePerUserValueWinsAndModeTwoUsesTheDefaultFolder)
{
    const StorageOptionsCase& entry = GetParam();
    m_settings.WriteUserFile(IniFile, entry.user);
    m_settings.WriteMachineFile(IniFile, entry.machine);
    // Whatever an earlier run left must not survive.
    options.UseGlobalTemplate = gtNone;
    options.GlobalTemplatePath = QStringLiteral("/left/over");

    options = GetStorageOptions();

    EXPECT_EQ(int(options.UseGlobalTemplate), int(entry.mode));
    EXPECT_EQ(options.GlobalTemplatePath, entry.path.isEmpty() ? DefaultGlobalTemplatePath() : entry.path);
    EXPECT_EQ(m_trace.LastValue(QStringLiteral("Main::GetStorageOptions:GlobalTemplatePath")),
              options.GlobalTemplatePath);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StorageOptions,
    ::testing::Values(
        StorageOptionsCase {"NothingStored", "", "", gtFromDefaultFolder, {}},
        StorageOptionsCase {"MachineWideOnly", "", "[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=/srv/machine\n",
                            gtFromPath, QStringLiteral("/srv/machine")},
        StorageOptionsCase {"UserModeWinsPathFromMachine", "[Storage]\nUseGlobalTemplate=0\n",
                            "[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=/srv/machine\n", gtNone,
                            QStringLiteral("/srv/machine")},
        StorageOptionsCase {"UserPathWins", "[Storage]\nGlobalTemplatePath=/home/own\n",
                            "[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=/srv/machine\n", gtFromPath,
                            QStringLiteral("/home/own")},
        StorageOptionsCase {"ModeTwoIgnoresStoredPath",
                            "[Storage]\nUseGlobalTemplate=2\nGlobalTemplatePath=/srv/t\n",
                            "",
                            gtFromDefaultFolder,
                            {}},
        StorageOptionsCase {"ModeOneWithoutPath", "[Storage]\nUseGlobalTemplate=1\n", "", gtFromPath, {}},
        StorageOptionsCase {
            "ModeAboveTwo", "[Storage]\nUseGlobalTemplate=3\nGlobalTemplatePath=/srv/t\n", "", gtFromDefaultFolder, {}},
        StorageOptionsCase {"NegativeMode",
                            "[Storage]\nUseGlobalTemplate=-1\nGlobalTemplatePath=/srv/t\n",
                            "",
                            gtFromDefaultFolder,
                            {}},
        // The reading stops at the bad number: neither the machine's mode nor a path is read.
        StorageOptionsCase {"ModeNotANumber",
                            "[Storage]\nUseGlobalTemplate=ja\n",
                            "[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=/srv/machine\n",
                            gtFromDefaultFolder,
                            {}},
        StorageOptionsCase {"NamesInAnyCase", "[storage]\nuseglobaltemplate=1\nGLOBALTEMPLATEPATH=/srv/t\n", "",
                            gtFromPath, QStringLiteral("/srv/t")},
        StorageOptionsCase {"PathWithComma",
                            "[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=/srv/Vorlagen, Zentrale\n", "",
                            gtFromPath, QStringLiteral("/srv/Vorlagen, Zentrale")},
        StorageOptionsCase {"PathMadeAbsoluteAndClean",
                            "[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=/srv/a/../b/\n", "", gtFromPath,
                            QStringLiteral("/srv/b")}),
    [](const ::testing::TestParamInfo<StorageOptionsCase>& info) { return std::string(info.param.name); });

TEST_F(StorageTest, ARelativePathIsTakenFromTheCurrentFolder)
{
    m_settings.WriteUserFile(IniFile, "[Storage]\nUseGlobalTemplate=1\nGlobalTemplatePath=Vorlagen\n");
    options = GetStorageOptions();
    EXPECT_EQ(options.GlobalTemplatePath, QDir::current().absoluteFilePath(QStringLiteral("Vorlagen")));
}

TEST_F(StorageTest, AModeThatIsNoNumberIsTraced)
{
    m_settings.WriteUserFile(IniFile, "[Storage]\nUseGlobalTemplate=ja\n");
    options = GetStorageOptions();
    EXPECT_TRUE(m_trace.LastValue(QStringLiteral("Main::GetStorageOptions")).contains(u"ja"));
}

TEST_F(StorageTest, TheObsoleteTypeIsDeletedFromTheMachineWideKeyOnly)
{
    m_settings.WriteUserFile(IniFile, "[Storage]\nType=4\n");
    m_settings.WriteMachineFile(IniFile,
                                "[General]\nVelquistServer=dir.example.com\n\n"
                                "[Storage]\nType=3\nUseGlobalTemplate=0\n");

    options = GetStorageOptions();

    const QByteArray machine = m_settings.ReadMachineFile(IniFile);
    EXPECT_FALSE(machine.contains("Type")) << machine.constData();
    EXPECT_TRUE(machine.contains("UseGlobalTemplate=0")) << machine.constData();
    EXPECT_TRUE(machine.contains("VelquistServer=dir.example.com")) << machine.constData();
    EXPECT_EQ(options.UseGlobalTemplate, gtNone);
    QSettings user(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrun"),
                   QStringLiteral("Event Controller for OrvixIt"));
    EXPECT_EQ(user.value(QStringLiteral("Storage/Type")).toString(), QStringLiteral("4"));
}

TEST_F(StorageTest, AnIniFileQtCannotParseIsNamedInTheTrace)
{
    const QByteArray broken = "[Storage\nnot a line of an INI file\nUseGlobalTemplate=0\n";
    for (const bool machineWide : {false, true}) {
        SCOPED_TRACE(machineWide ? "machine-wide" : "per user");
        m_trace.Clear();
        m_settings.WriteUserFile(IniFile, machineWide ? QByteArray() : broken);
        m_settings.WriteMachineFile(IniFile, machineWide ? broken : QByteArray());
        const QString file =
            TRegistryKey(machineWide ? QSettings::SystemScope : QSettings::UserScope, StorageRegistryKey).FileName();

        options = GetStorageOptions();

        const QString title = QStringLiteral("Main::GetStorageOptions:Cannot parse the settings file");
        ASSERT_EQ(m_trace.Count(title), 1);
        const QString warning = m_trace.LastValue(title);
        EXPECT_TRUE(warning.startsWith(file + u':')) << warning.toStdString();
        EXPECT_TRUE(warning.contains(u"not be rewritten")) << warning.toStdString();
    }
}
