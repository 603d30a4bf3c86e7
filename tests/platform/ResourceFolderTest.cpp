// SPDX-License-Identifier: GPL-3.0-or-later

// Where the program finds its field catalogue: beside it in a build tree, in the
// data folder of the prefix it is installed in.
#include "platform/ResourceFolder.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ResourceFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_prefix.isValid());
        ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
    }

    QString ProgramFolder() const { return m_prefix.filePath(QStringLiteral("bin")); }
    QString DataFolder() const { return m_prefix.filePath(QStringLiteral("share/kestrun-eventcontroller")); }
    static QString Catalogue(const QString& folder) { return folder + QStringLiteral("/LDAPFields.xml"); }

    QTemporaryDir m_prefix;
};

constexpr QStringView CatalogueName = u"LDAPFields.xml";

} // namespace

TEST_F(ResourceFolder, AnInstalledProgramFindsItsDataFolder)
{
    ASSERT_NO_FATAL_FAILURE(WriteFile(Catalogue(DataFolder()), "<Fields/>"));
    EXPECT_EQ(FindResourceFolder(ProgramFolder(), CatalogueName), DataFolder());
}

TEST_F(ResourceFolder, AFileBesideTheProgramComesFirst)
{
    ASSERT_NO_FATAL_FAILURE(WriteFile(Catalogue(DataFolder()), "<Fields/>"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(Catalogue(ProgramFolder()), "<Fields/>"));
    EXPECT_EQ(FindResourceFolder(ProgramFolder(), CatalogueName), ProgramFolder());
}

// The program then says that the catalogue is missing, and where it looked first.
TEST_F(ResourceFolder, WithoutTheFileAnywhereItIsTheFolderBesideTheProgram)
{
    ASSERT_TRUE(QDir().mkpath(DataFolder()));
    EXPECT_EQ(FindResourceFolder(ProgramFolder(), CatalogueName), ProgramFolder());
}
