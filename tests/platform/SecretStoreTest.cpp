// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestFiles.h"

#include "platform/KestrunError.h"
#include "platform/SecretStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QFileDevice::Permissions PermissionsOf(const QString& path)
{
    // Qt reports the owner's bits twice, as Owner and as User: the owner's ones are enough here.
    return QFile(path).permissions() &
        (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
         QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
         QFileDevice::ExeOther);
}

} // namespace

// Where no keyring runs: a file only the user can read, one password per service and account.
TEST(SecretStore, FileFallbackKeepsEachPasswordForTheUserOnly)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("sub/passwords");
    TSecretStore store(file, false);
    EXPECT_EQ(store.Place(), TSecretStore::TPlace::File);
    EXPECT_FALSE(store.Lookup("smtp", "anna@smtp.example.org").has_value());

    EXPECT_EQ(store.Store("smtp", "anna@smtp.example.org", "label", " Geheim\"wort\\ "), TSecretStore::TPlace::File);
    EXPECT_EQ(store.Store("orvix-baresip", "sip:620@fritz.box", "label", "sip-secret"), TSecretStore::TPlace::File);
    EXPECT_EQ(store.Store("smtp", "bernd@smtp.example.org", "label", "other"), TSecretStore::TPlace::File);
    EXPECT_EQ(PermissionsOf(file), OwnerOnly);

    const TSecretStore reread(file, false);
    EXPECT_EQ(reread.Lookup("smtp", "anna@smtp.example.org"), " Geheim\"wort\\ ");
    EXPECT_EQ(reread.Lookup("orvix-baresip", "sip:620@fritz.box"), "sip-secret");
    EXPECT_EQ(reread.Lookup("smtp", "bernd@smtp.example.org"), "other");
    EXPECT_FALSE(reread.Lookup("orvix-baresip", "anna@smtp.example.org").has_value());

    store.Store("smtp", "anna@smtp.example.org", "label", "new");
    EXPECT_EQ(reread.Lookup("smtp", "anna@smtp.example.org"), "new");
    EXPECT_EQ(PermissionsOf(file), OwnerOnly);
}

TEST(SecretStore, FileOthersCouldReadIsClosedAgain)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("passwords");
    TSecretStore(file, false).Store("smtp", "a@b", "label", "x");
    ASSERT_TRUE(QFile::setPermissions(file, OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_EQ(TSecretStore(file, false).Lookup("smtp", "a@b"), "x");
    EXPECT_EQ(PermissionsOf(file), OwnerOnly);
}

TEST(SecretStore, BrokenFileIsAnErrorNotAnEmptyStore)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("passwords");
    WriteFile(file, "{ not json");
    TSecretStore store(file, false);
    EXPECT_THROW(store.Lookup("smtp", "a@b"), EKestrunError);
    EXPECT_THROW(store.Store("smtp", "a@b", "label", "x"), EKestrunError);
    EXPECT_EQ(ReadFile(file), "{ not json") << "nothing it could not read is written over";
}
