// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlWebProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <gtest/gtest.h>

namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions GroupOrOthers =
    QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

TEST(HtmlWebProfile, KeepsCookiesAndCacheInAPrivateFolderOfTheUser)
{
    const QWebEngineProfile& profile = HtmlWebProfile();
    const QString folder = HtmlWebProfileFolder();
    EXPECT_FALSE(profile.isOffTheRecord());
    EXPECT_TRUE(profile.persistentStoragePath().startsWith(folder + u'/'));
    EXPECT_TRUE(profile.cachePath().startsWith(folder + u'/'));
    EXPECT_FALSE(folder.startsWith(QDir::tempPath()));
    EXPECT_EQ(QFile::permissions(folder) & (OwnerOnly | GroupOrOthers), OwnerOnly);
}

} // namespace
