// SPDX-License-Identifier: GPL-3.0-or-later

// "Beim Anmelden starten": the user's own autostart entry, beside the one the
// package installs for everyone.
#include "platform/Autostart.h"
#include "platform/KestrunError.h"

#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class AutostartTest : public ::testing::Test
{
protected:
    AutostartTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("user"))))
        , m_configDirs("XDG_CONFIG_DIRS",
                       QFile::encodeName(m_home.filePath(QStringLiteral("none")) + u':' +
                                         m_home.filePath(QStringLiteral("xdg"))))
    {
    }

    void InstallEntryForEveryone(const QByteArray& content = "[Desktop Entry]\nType=Application\n"
                                                             "Exec=kestrun-eventcontroller\n")
    {
        ASSERT_TRUE(QDir().mkpath(m_home.filePath(QStringLiteral("xdg/autostart"))));
        WriteFile(m_home.filePath(QStringLiteral("xdg/autostart/kestrun-eventcontroller.desktop")), content);
    }

    // The user's entry as the desktop reads it.
    QVariant UserEntryValue(const QString& key) const
    {
        QSettings entry(Autostart::UserEntryPath(), QSettings::IniFormat);
        return entry.value(QStringLiteral("Desktop Entry/") + key);
    }

    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    ScopedEnvironment m_configDirs;
};

} // namespace

TEST_F(AutostartTest, WithoutAnEntryForEveryoneTheSwitchWritesAndRemovesTheUsersEntry)
{
    EXPECT_FALSE(Autostart::Enabled());

    Autostart::SetEnabled(true, QStringLiteral("/usr/bin/kestrun-eventcontroller"));
    EXPECT_TRUE(Autostart::Enabled());
    EXPECT_EQ(Autostart::UserEntryPath(),
              m_home.filePath(QStringLiteral("user/autostart/kestrun-eventcontroller.desktop")));
    EXPECT_TRUE(ReadFile(Autostart::UserEntryPath()).contains("\nExec=\"/usr/bin/kestrun-eventcontroller\"\n"));

    Autostart::SetEnabled(false, QStringLiteral("/usr/bin/kestrun-eventcontroller"));
    EXPECT_FALSE(Autostart::Enabled());
    EXPECT_FALSE(QFile::exists(Autostart::UserEntryPath()));
}

// The entry for everyone cannot be removed by a user; the user's own one of the
// same name hides it.
TEST_F(AutostartTest, TheEntryForEveryoneIsHiddenByTheUsersOwn)
{
    InstallEntryForEveryone();
    EXPECT_TRUE(Autostart::Enabled());

    Autostart::SetEnabled(false, QStringLiteral("/usr/bin/kestrun-eventcontroller"));
    EXPECT_FALSE(Autostart::Enabled());
    EXPECT_TRUE(ReadFile(Autostart::UserEntryPath()).contains("\nHidden=true\n"));

    Autostart::SetEnabled(true, QStringLiteral("/usr/bin/kestrun-eventcontroller"));
    EXPECT_TRUE(Autostart::Enabled());
    EXPECT_FALSE(ReadFile(Autostart::UserEntryPath()).contains("Hidden"));
}

TEST_F(AutostartTest, AnEntrySwitchedOffInGnomeCountsAsOff)
{
    InstallEntryForEveryone("[Desktop Entry]\nExec=kestrun-eventcontroller\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(Autostart::Enabled());
}

// The program's own path goes into Exec as one argument, whatever it holds.
TEST_F(AutostartTest, TheProgramPathIsQuotedForTheExecKey)
{
    Autostart::SetEnabled(true, QStringLiteral("/opt/a \"b\" $HOME `id` 100%\\x/kestrun"));
    EXPECT_TRUE(ReadFile(Autostart::UserEntryPath())
                    .contains("\nExec=\"/opt/a \\\\\"b\\\\\" \\\\$HOME \\\\`id\\\\` 100%%\\\\\\\\x/kestrun\"\n"));
}

TEST_F(AutostartTest, AnEntryThatCannotBeWrittenIsAnError)
{
    // A file where the autostart folder should be.
    ASSERT_TRUE(QDir().mkpath(m_home.filePath(QStringLiteral("user"))));
    WriteFile(m_home.filePath(QStringLiteral("user/autostart")), "not a folder");
    EXPECT_THROW(Autostart::SetEnabled(true, QStringLiteral("/usr/bin/kestrun-eventcontroller")), EKestrunError);
    EXPECT_FALSE(Autostart::Enabled());
}
