// SPDX-License-Identifier: GPL-3.0-or-later

#include "StorageTestSupport.h"

#include "platform/KestrunError.h"
#include "settings/UserSettings.h"

#include <QDir>

#include <optional>

namespace {

QByteArray Document(const QByteArray& settings)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config><general><desktopnotification>" + settings +
        "</desktopnotification></general></config>\n";
}

// A settings file with an element nested the given number of levels beside the
// settings: about 490 KB for 70,000 levels, which a global template can hand out.
QByteArray DeeplyNested(int levels)
{
    return Document("<monitor>0</monitor><position>2</position><x>" + QByteArray("<x>").repeated(levels) +
                    QByteArray("</x>").repeated(levels) + "</x>");
}

// What start-up uses without a settings file.
TNotificationSettings MissingFileDefaults()
{
    TNotificationSettings defaults;
    defaults.DesktopNotificationIsWindowsColor = true;
    defaults.DesktopNotificationTransparencyValue = 230;
    return defaults;
}

QStringList KeptAside(const QString& pattern)
{
    return QDir(UserDataPath() + QStringLiteral("/unreadable")).entryList({pattern});
}

} // namespace

TEST_F(StorageTest, WritesTheDocumentOfTheSettingsFile)
{
    settings.DesktopNotificationMonitor = 1;
    settings.DesktopNotificationPosition = 3;
    settings.DesktopNotificationColor = RGB(255, 255, 255);
    settings.DesktopNotificationTransparencyValue = 230;
    settings.DesktopNotificationIsWindowsColor = true;
    settings.DesktopNotificationIsAccentColor = false;

    EXPECT_TRUE(WriteSettingsXML(QStringLiteral("usersettings.xml"), settings));

    EXPECT_EQ(ReadFile(DataPathUserSettingsFile()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<config>\n"
              "  <general>\n"
              "    <desktopnotification>\n"
              "      <monitor>1</monitor>\n"
              "      <position>3</position>\n"
              "      <ncolor>clWhite</ncolor>\n"
              "      <transparencyvalue>230</transparencyvalue>\n"
              "      <iswindowscolor>-1</iswindowscolor>\n"
              "      <isaccentcolor>0</isaccentcolor>\n"
              "    </desktopnotification>\n"
              "  </general>\n"
              "</config>\n");
    EXPECT_TRUE(m_trace.LastValue(QStringLiteral("Core::WriteLSettingsXML:XMLDoc")).contains(u"clWhite"));
}

TEST_F(StorageTest, SettingsSurviveAWriteAndARead)
{
    const struct
    {
        TColor color;
        const char* text;
        bool windows;
        bool accent;
    } cases[] = {
        {RGB(227, 236, 247), "$00F7ECE3", false, true}, {RGB(255, 255, 255), "clWhite", true, false},
        {clHighlight, "clHighlight", true, true},       {clNone, "clNone", false, false},
        {0x12ABCDEF, "$12ABCDEF", false, false},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.text);
        settings.DesktopNotificationMonitor = 1;
        settings.DesktopNotificationPosition = 2;
        settings.DesktopNotificationColor = entry.color;
        settings.DesktopNotificationTransparencyValue = 77;
        settings.DesktopNotificationIsWindowsColor = entry.windows;
        settings.DesktopNotificationIsAccentColor = entry.accent;
        ASSERT_TRUE(WriteSettingsXML(QString(), settings));
        EXPECT_TRUE(ReadFile(DataPathUserSettingsFile())
                        .contains(QByteArray(QByteArray("<ncolor>") + entry.text + "</ncolor>")));

        settings.DesktopNotificationMonitor = settings.DesktopNotificationPosition =
            settings.DesktopNotificationTransparencyValue = -5;
        settings.DesktopNotificationColor = clDefault;
        settings.DesktopNotificationIsWindowsColor = !entry.windows;
        settings.DesktopNotificationIsAccentColor = !entry.accent;
        ASSERT_TRUE(ReadSettingsXML(QString(), settings, 2));
        EXPECT_EQ(settings.DesktopNotificationMonitor, 1);
        EXPECT_EQ(settings.DesktopNotificationPosition, 2);
        EXPECT_EQ(settings.DesktopNotificationColor, entry.color);
        EXPECT_EQ(settings.DesktopNotificationTransparencyValue, 77);
        EXPECT_EQ(settings.DesktopNotificationIsWindowsColor, entry.windows);
        EXPECT_EQ(settings.DesktopNotificationIsAccentColor, entry.accent);
    }
}

TEST_F(StorageTest, TheWriterWritesTheFileItIsGivenAndSaysWhyItCannot)
{
    settings.DesktopNotificationPosition = 2;
    const QString elsewhere = m_home.filePath(QStringLiteral("elsewhere.xml"));
    EXPECT_TRUE(WriteSettingsXML(elsewhere, settings));
    EXPECT_EQ(ReadFile(elsewhere), SettingsXML(settings));
    EXPECT_FALSE(QFileInfo::exists(DataPathUserSettingsFile()));

    const QString folder = m_home.filePath(QStringLiteral("a folder"));
    QDir().mkpath(folder);
    QString error;
    EXPECT_FALSE(WriteSettingsXML(folder, settings, &error));
    EXPECT_TRUE(error.contains(folder)) << error.toStdString();
    EXPECT_TRUE(m_trace.LastValue(QStringLiteral("Core::WriteSettingsXML:Cannot write file")).contains(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(StorageTest, ElementNamesAreReadInAnyCase)
{
    ASSERT_TRUE(ReadSettingsXML(TestDataFile(QStringLiteral("usersettings/capitals.xml")), settings, 2));
    EXPECT_EQ(settings.DesktopNotificationMonitor, 1);
    EXPECT_EQ(settings.DesktopNotificationPosition, 2);
    EXPECT_EQ(settings.DesktopNotificationColor, 0x00F0CAA6u);
    EXPECT_EQ(settings.DesktopNotificationTransparencyValue, 200);
    EXPECT_TRUE(settings.DesktopNotificationIsWindowsColor);
    EXPECT_TRUE(settings.DesktopNotificationIsAccentColor);
}

TEST_F(StorageTest, AMonitorBeyondTheLastOneReadsAsTheFirst)
{
    const struct
    {
        QByteArray element;
        int monitors;
        int expected;
    } cases[] = {
        {"<monitor>3</monitor>", 2, 0},
        {"<monitor>1</monitor>", 2, 1},
        {"<monitor>1</monitor>", 1, 0},
        {"", 2, 0},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.element.constData());
        WriteFile(DataPathUserSettingsFile(), Document(entry.element));
        settings.DesktopNotificationMonitor = 1;
        ASSERT_TRUE(ReadSettingsXML(QString(), settings, entry.monitors));
        EXPECT_EQ(settings.DesktopNotificationMonitor, entry.expected);
    }
}

TEST_F(StorageTest, SettingTextsReadToValuesInRangeOrStopTheReading)
{
    // The value each setting reads to, or nothing when the text does not convert.
    // Values out of range would hide every notification: off screen, invisible.
    const struct
    {
        const char* element;
        const char* text;
        std::optional<qint64> expected;
    } cases[] = {
        {"transparencyvalue", "200", 200},
        {"transparencyvalue", "$C8", 200},
        {"transparencyvalue", " 200 ", 200},
        {"transparencyvalue", "-1", 0},
        {"transparencyvalue", "-100000", 0},
        {"transparencyvalue", "255", 255},
        {"transparencyvalue", "256", 255},
        {"transparencyvalue", "2147483648", std::nullopt},
        {"transparencyvalue", "20O", std::nullopt},
        {"transparencyvalue", "$", std::nullopt},
        {"transparencyvalue", "$100000000", std::nullopt},
        {"transparencyvalue", "", std::nullopt},
        {"position", "$FFFFFFFF", 0},
        {"position", "3", 3},
        {"position", "4", 0},
        {"position", "99", 0},
        {"monitor", "-7", 0},
        {"iswindowscolor", "-1", 1},
        {"iswindowscolor", "0", 0},
        {"iswindowscolor", "2", 1},
        {"iswindowscolor", "TRUE", 1},
        {"iswindowscolor", "False", 0},
        {"iswindowscolor", "ja", std::nullopt},
        {"ncolor", "clwhite", 0x00FFFFFF},
        {"ncolor", "16777215", 0x00FFFFFF},
        {"ncolor", "$00F7ECE3", 0x00F7ECE3},
        {"ncolor", "$FF00000D", 0xFF00000D},
        {"ncolor", "-16777203", 0xFF00000D},
        {"ncolor", "clPink", std::nullopt},
    };
    const auto valueOf = [this](std::string_view element) -> qint64 {
        if (element == "transparencyvalue")
            return settings.DesktopNotificationTransparencyValue;
        if (element == "position")
            return settings.DesktopNotificationPosition;
        if (element == "monitor")
            return settings.DesktopNotificationMonitor;
        if (element == "iswindowscolor")
            return settings.DesktopNotificationIsWindowsColor;
        return settings.DesktopNotificationColor;
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(std::string(entry.element) + " = \"" + entry.text + '"');
        const QByteArray element(entry.element);
        WriteFile(DataPathUserSettingsFile(), Document("<" + element + ">" + entry.text + "</" + element + ">"));
        if (entry.expected) {
            EXPECT_TRUE(ReadSettingsXML(QString(), settings, 1));
            EXPECT_EQ(valueOf(entry.element), *entry.expected);
        } else {
            EXPECT_THROW(ReadSettingsXML(QString(), settings, 1), EKestrunError);
        }
    }
}

TEST_F(StorageTest, NoDocumentChangesNoSetting)
{
    const struct
    {
        const char* name;
        std::optional<QByteArray> content;
    } cases[] = {
        {"missing", std::nullopt},
        {"empty", QByteArray()},
        {"declaration only", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"},
        {"truncated", ReadFile(TestDataFile(QStringLiteral("usersettings/truncated.xml")))},
        {"nested too deep", DeeplyNested(70000)},
    };
    const QString warning = QStringLiteral("Core::ReadSettingsXML:Cannot read file");
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        m_trace.Clear();
        QFile::remove(DataPathUserSettingsFile());
        if (entry.content)
            WriteFile(DataPathUserSettingsFile(), *entry.content);
        settings.DesktopNotificationMonitor = 1;
        settings.DesktopNotificationPosition = 2;
        EXPECT_FALSE(ReadSettingsXML(QString(), settings, 2));
        EXPECT_EQ(settings.DesktopNotificationMonitor, 1);
        EXPECT_EQ(settings.DesktopNotificationPosition, 2);
        // Support must see which file was not read and why; a missing file is no fault.
        EXPECT_EQ(m_trace.Has(warning), entry.content.has_value());
        if (entry.content) {
            EXPECT_TRUE(m_trace.LastValue(warning).startsWith(DataPathUserSettingsFile() + u':'))
                << m_trace.LastValue(warning).toStdString();
        }
    }
}

TEST_F(StorageTest, AParseErrorIsTracedWithItsDescriptionAndOffset)
{
    WriteFile(DataPathUserSettingsFile(), ReadFile(TestDataFile(QStringLiteral("usersettings/truncated.xml"))));
    EXPECT_FALSE(ReadSettingsXML(QString(), settings, 1));
    EXPECT_EQ(m_trace.LastValue(QStringLiteral("Core::ReadSettingsXML:Cannot read file")),
              QString(DataPathUserSettingsFile() + QStringLiteral(": Start-end tags mismatch at offset 132")));
}

TEST_F(StorageTest, AFileThatWasNotReadWholeIsKeptAsideByTheNextWrite)
{
    const struct
    {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"truncated", ReadFile(TestDataFile(QStringLiteral("usersettings/truncated.xml")))},
        {"bad value", ReadFile(TestDataFile(QStringLiteral("usersettings/bad_transparency.xml")))},
        {"nested too deep", DeeplyNested(70000)},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        QDir(UserDataPath()).removeRecursively();
        const QByteArray& broken = entry.content;
        WriteFile(DataPathUserSettingsFile(), broken);
        try {
            ReadSettingsXML(QString(), settings, 1);
        } catch (const EKestrunError&) {
        }

        ASSERT_TRUE(WriteSettingsXML(QString(), settings));

        // In a folder of its own, where the global template's clean-up never reaches.
        const QStringList kept = KeptAside(QStringLiteral("usersettings.xml.unreadable-*"));
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(ReadFile(DataFile(QStringLiteral("unreadable/") + kept.front())), broken);
        EXPECT_TRUE(ReadSettingsXML(QString(), settings, 1));
    }
}

TEST_F(StorageTest, WithoutASettingsFileTheDesktopColourAndOpacity230AreUsed)
{
    options.UseGlobalTemplate = gtNone;
    settings = LoadSettings(options);
    EXPECT_TRUE(settings.DesktopNotificationIsWindowsColor);
    EXPECT_EQ(settings.DesktopNotificationTransparencyValue, 230);
    EXPECT_EQ(settings.DesktopNotificationColor, clBlack);
    EXPECT_FALSE(settings.DesktopNotificationIsAccentColor);
    EXPECT_EQ(m_trace.LastValue(QStringLiteral("Main::LoadSettings:DataPathUserSettingsFile")),
              DataPathUserSettingsFile());
}

TEST_F(StorageTest, ASettingsFileWithoutOpacityLeavesItAtZero)
{
    options.UseGlobalTemplate = gtNone;
    WriteFile(DataPathUserSettingsFile(), ReadFile(TestDataFile(QStringLiteral("usersettings/no_transparency.xml"))));
    settings = LoadSettings(options);
    EXPECT_EQ(settings.DesktopNotificationTransparencyValue, 0);
    EXPECT_FALSE(settings.DesktopNotificationIsWindowsColor);
    EXPECT_EQ(settings.DesktopNotificationPosition, 3);
    EXPECT_EQ(settings.DesktopNotificationColor, 0x00F7ECE3u);
}

TEST_F(StorageTest, AnUnreadableSettingsFileStartsWithTheSettingsOfAMissingOne)
{
    const struct
    {
        const char* name;
        QByteArray content;
        // What the trace names the fault under.
        QString title;
    } cases[] = {
        {"bad value", ReadFile(TestDataFile(QStringLiteral("usersettings/bad_transparency.xml"))),
         QStringLiteral("Main::LoadSettings")},
        {"truncated", ReadFile(TestDataFile(QStringLiteral("usersettings/truncated.xml"))),
         QStringLiteral("Core::ReadSettingsXML:Cannot read file")},
        {"empty", QByteArray(), QStringLiteral("Core::ReadSettingsXML:Cannot read file")},
        {"nested too deep", DeeplyNested(70000), QStringLiteral("Core::ReadSettingsXML:Cannot read file")},
    };
    options.UseGlobalTemplate = gtNone;
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        m_trace.Clear();
        WriteFile(DataPathUserSettingsFile(), entry.content);

        settings = LoadSettings(options);

        EXPECT_EQ(settings, MissingFileDefaults());
        EXPECT_TRUE(m_trace.LastValue(entry.title).contains(u"halb") ||
                    m_trace.LastValue(entry.title).startsWith(DataPathUserSettingsFile()))
            << m_trace.LastValue(entry.title).toStdString();
        // Nothing is lost: the file stays until the next save keeps it aside.
        EXPECT_EQ(ReadFile(DataPathUserSettingsFile()), entry.content);
    }
}
