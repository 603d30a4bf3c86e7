// SPDX-License-Identifier: GPL-3.0-or-later

#include "StorageTestSupport.h"

#include "platform/UnreadableFiles.h"
#include "settings/Storage.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

class TemplateCopy : public StorageTest
{
protected:
    TemplateCopy()
        : m_userName("USERNAME", QByteArray("alice"))
    {
        options.UseGlobalTemplate = gtFromPath;
        options.GlobalTemplatePath = m_template.path();
    }

    QString TemplateFile(const QString& name) const { return m_template.filePath(name); }

    QTemporaryDir m_template;
    ScopedEnvironment m_userName;
};

struct TemplateUseCase
{
    const char* name;
    TGlobalTemplateMode mode;
    QStringList templateFiles;
    bool missingFolder;
    bool used;
};

void PrintTo(const TemplateUseCase& entry, std::ostream* os)
{
    *os << entry.name;
}

class TemplateUse : public TemplateCopy, public ::testing::WithParamInterface<TemplateUseCase>
{
};

} // namespace

TEST_F(TemplateCopy, TheUsersOwnFileWinsOverTheCommonOne)
{
    WriteFile(TemplateFile(QStringLiteral("rules.xml")), "common");
    WriteFile(TemplateFile(QStringLiteral("servers.xml")), "servers");
    WriteFile(TemplateFile(QStringLiteral("alice/rules.xml")), "alice");
    WriteFile(TemplateFile(QStringLiteral("bob/rules.xml")), "bob");
    WriteFile(TemplateFile(QStringLiteral("bob/only-bob.xml")), "bob");

    settings = LoadSettings(options);

    EXPECT_EQ(ReadFile(DataFile(QStringLiteral("rules.xml"))), "alice");
    EXPECT_EQ(ReadFile(DataFile(QStringLiteral("servers.xml"))), "servers");
    EXPECT_EQ(DataFolderEntries(), (QStringList {QStringLiteral("rules.xml"), QStringLiteral("servers.xml")}));
}

TEST_F(TemplateCopy, OnlyTheThreeProtectedNamesSurviveAndTemplateFilesReplaceThem)
{
    WriteFile(DataFile(QStringLiteral("servers.xml")), "own servers");
    WriteFile(DataFile(QStringLiteral("rules.xml")), "own rules");
    WriteFile(DataFile(QStringLiteral("usersettings.xml")), "<config/>");
    WriteFile(DataFile(QStringLiteral("Rules.xml")), "differs in case");
    WriteFile(DataFile(QStringLiteral("notes.txt")), "other");
    WriteFile(DataFile(QStringLiteral(".hidden")), "other");
    ASSERT_TRUE(QDir(UserDataPath()).mkdir(QStringLiteral("archive")));
    WriteFile(TemplateFile(QStringLiteral("rules.xml")), "template rules");
    WriteFile(TemplateFile(QStringLiteral("LDAPFields.xml")), "fields");
    // A file of the user's that goes is worth a warning, not a line among the debug values.
    Trace::SetLevel(TraceLevel::Warning);

    settings = LoadSettings(options);

    EXPECT_EQ(DataFolderEntries(),
              (QStringList {QStringLiteral("LDAPFields.xml"), QStringLiteral("archive"), QStringLiteral("rules.xml"),
                            QStringLiteral("servers.xml"), QStringLiteral("usersettings.xml")}));
    EXPECT_EQ(ReadFile(DataFile(QStringLiteral("rules.xml"))), "template rules");
    EXPECT_EQ(ReadFile(DataFile(QStringLiteral("servers.xml"))), "own servers");
    EXPECT_EQ(m_trace.Count(QStringLiteral("Main::CopyGlobalTemplateToLocalStorage:Delete file")), 3);
}

TEST_F(TemplateCopy, KeptAsideCopiesOfUnreadableFilesSurviveTheTemplate)
{
    WriteFile(TemplateFile(QStringLiteral("servers.xml")), "servers");
    QStringList kept;
    for (const QString& name : {QStringLiteral("rules.xml"), QStringLiteral("usersettings.xml")}) {
        WriteFile(DataFile(name), "broken " + name.toUtf8());
        UnreadableFiles::Remember(DataFile(name));
        kept << UnreadableFiles::KeepAside(DataFile(name));
    }

    settings = LoadSettings(options);

    for (const QString& name : {QStringLiteral("rules.xml"), QStringLiteral("usersettings.xml")}) {
        SCOPED_TRACE(name.toStdString());
        const QString& path = kept.takeFirst();
        EXPECT_EQ(ReadFile(path), "broken " + name.toUtf8()) << path.toStdString();
    }
}

TEST_F(TemplateCopy, ATemplateFolderThatIsTheDataFolderIsRefused)
{
    const QString link = m_home.filePath(QStringLiteral("link-to-data"));
    ASSERT_TRUE(QFile::link(UserDataPath(), link));
    const QString paths[] = {
        UserDataPath(),
        UserDataPath() + QStringLiteral("/../") + QFileInfo(UserDataPath()).fileName(),
        link,
        QDir::current().relativeFilePath(UserDataPath()),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        m_trace.Clear();
        WriteFile(DataFile(QStringLiteral("notes.txt")), "own");
        WriteFile(DataFile(QStringLiteral("rules.xml")), "own");
        options.GlobalTemplatePath = path;

        settings = LoadSettings(options);

        EXPECT_EQ(DataFolderEntries(), (QStringList {QStringLiteral("notes.txt"), QStringLiteral("rules.xml")}));
        EXPECT_EQ(
            m_trace.LastValue(QStringLiteral("Main::CopyGlobalTemplateToLocalStorage:Template is the data folder")),
            path);
    }
}

TEST_P(TemplateUse, TheDataFolderIsOnlyTouchedByAUsableTemplate)
{
    const TemplateUseCase& entry = GetParam();
    options.UseGlobalTemplate = entry.mode;
    if (entry.missingFolder)
        options.GlobalTemplatePath = m_template.filePath(QStringLiteral("server-down/EventController"));
    for (const QString& name : entry.templateFiles)
        WriteFile(TemplateFile(name), "template");
    WriteFile(DataFile(QStringLiteral("notes.txt")), "own");
    WriteFile(DataFile(QStringLiteral("rules.xml")), "own");

    settings = LoadSettings(options);

    EXPECT_EQ(QFileInfo::exists(DataFile(QStringLiteral("notes.txt"))), !entry.used);
    EXPECT_EQ(ReadFile(DataFile(QStringLiteral("rules.xml"))), "own");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateUse,
    ::testing::Values(
        TemplateUseCase {"ModeZero", gtNone, {QStringLiteral("servers.xml")}, false, false},
        TemplateUseCase {"Unreachable", gtFromPath, {}, true, false},
        // Files of a user's subfolder alone do not make a template.
        TemplateUseCase {
            "NoXmlFile", gtFromPath, {QStringLiteral("readme.txt"), QStringLiteral("alice/rules.xml")}, false, false},
        TemplateUseCase {"XmlInCapitals", gtFromPath, {QStringLiteral("VORLAGE.XML")}, false, true}),
    [](const ::testing::TestParamInfo<TemplateUseCase>& info) { return std::string(info.param.name); });

TEST_F(TemplateCopy, AFirstStartWithoutTemplateOnlyCreatesTheDataFolder)
{
    if (QFileInfo::exists(DefaultGlobalTemplatePath()))
        GTEST_SKIP() << "this machine has a default template folder";
    QDir(UserDataPath()).removeRecursively();
    ASSERT_FALSE(QFileInfo::exists(m_home.filePath(QStringLiteral("Kestrun/EventController for OrvixIt!"))));

    options = GetStorageOptions();
    settings = LoadSettings(options);

    EXPECT_TRUE(QFileInfo(m_home.filePath(QStringLiteral("Kestrun/EventController for OrvixIt!"))).isDir());
    EXPECT_TRUE(DataFolderEntries().isEmpty());
    EXPECT_TRUE(m_trace.Has(QStringLiteral(
        "Main::CopyGlobalTemplateToLocalStorage:Global template path not found or contains no xml-files")));
}
