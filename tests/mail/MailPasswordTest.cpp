// SPDX-License-Identifier: GPL-3.0-or-later

#include "SettingsSandbox.h"
#include "TestFiles.h"

#include "pim/MailAccount.h"
#include "platform/SecretStore.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString SettingsFile = QStringLiteral("Kestrun/Event Controller for OrvixIt.ini");

// The account as a user writes it, with the password in the settings, as the README said before.
class MailPassword : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings.WriteUserFile(SettingsFile,
                               "[Mail]\nSmtpServer=smtp.example.org\nSmtpUser=anna\n"
                               "SmtpPassword=\" Geheim wort \"\nSenderAddress=anna@example.org\n");
        account = ReadMailAccount();
    }
    QByteArray Settings() const
    {
        return ReadFile(QSettings(QSettings::IniFormat, QSettings::UserScope, "Kestrun", "Event Controller for OrvixIt")
                            .fileName());
    }

    SettingsSandbox settings;
    QTemporaryDir folder;
    TMailAccount account;
};

} // namespace

TEST_F(MailPassword, PasswordInTheSettingsMovesIntoTheStore)
{
    const QString file = folder.filePath("passwords");
    TSecretStore store(file, false);
    EXPECT_EQ(ReadMailPassword(account, store), " Geheim wort ");
    EXPECT_FALSE(Settings().contains("Geheim")) << Settings().toStdString();
    EXPECT_TRUE(Settings().contains("SmtpUser=anna")) << "the rest of the account stays";
    EXPECT_EQ(store.Lookup("smtp", "anna@smtp.example.org"), " Geheim wort ");
    EXPECT_EQ(QFile(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);

    EXPECT_EQ(ReadMailPassword(ReadMailAccount(), store), " Geheim wort ") << "read from the store from now on";
}

// The store cannot take it (here: its file's place is a folder): the password stays where it was.
TEST_F(MailPassword, PasswordTheStoreCannotTakeStaysInTheSettings)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("passwords"));
    TSecretStore store(folder.filePath("passwords"), false);
    EXPECT_EQ(ReadMailPassword(account, store), " Geheim wort ");
    EXPECT_TRUE(Settings().contains("Geheim wort")) << Settings().toStdString();
    EXPECT_EQ(ReadMailPassword(ReadMailAccount(), store), " Geheim wort ");
}

TEST_F(MailPassword, NoPasswordAnywhereIsEmpty)
{
    settings.WriteUserFile(SettingsFile, "[Mail]\nSmtpServer=smtp.example.org\nSmtpUser=anna\n");
    TSecretStore store(folder.filePath("passwords"), false);
    EXPECT_TRUE(ReadMailPassword(ReadMailAccount(), store).isEmpty());
}
