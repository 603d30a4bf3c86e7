// SPDX-License-Identifier: GPL-3.0-or-later

// One instance per user and session, and the private folder that holds its lock,
// its hand-off socket and the trace.
#include "platform/SingleInstance.h"
#include "platform/KestrunError.h"
#include "platform/RuntimeFolder.h"

#include "ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
    QFileDevice::ExeOwner | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

class SingleInstance : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString LockPath() const { return m_folder.filePath(QStringLiteral("instance.lock")); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(SingleInstance, OnlyTheFirstHoldsTheLockUntilItEnds)
{
    std::optional<TSingleInstance> first(std::in_place, LockPath());
    EXPECT_TRUE(first->IsFirst());
    EXPECT_FALSE(TSingleInstance(LockPath()).IsFirst());
    EXPECT_FALSE(TSingleInstance(LockPath()).IsFirst()) << "a second that gave up does not free the lock";

    first.reset();
    EXPECT_TRUE(TSingleInstance(LockPath()).IsFirst());
}

// A crashed instance leaves its file behind, but not its lock.
TEST_F(SingleInstance, ALeftoverLockFileDoesNotBlockAStart)
{
    QFile leftover(LockPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("4711\n");
    leftover.close();

    EXPECT_TRUE(TSingleInstance(LockPath()).IsFirst());
}

TEST_F(SingleInstance, TheFallbackFolderInTheTemporaryFolderIsPrivate)
{
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const ScopedEnvironment temp("TMPDIR", QFile::encodeName(m_folder.path()));

    const QString folder = UserRuntimePath();
    EXPECT_EQ(QFileInfo(folder).path(), m_folder.path());
    EXPECT_EQ(QFile::permissions(folder), OwnerOnly);

    // A folder of ours that others could enter is closed again.
    ASSERT_TRUE(QFile::setPermissions(folder, OwnerOnly | QFileDevice::ReadOther | QFileDevice::ExeOther));
    EXPECT_EQ(UserRuntimePath(), folder);
    EXPECT_EQ(QFile::permissions(folder), OwnerOnly);
}

TEST_F(SingleInstance, AFallbackThatIsALinkIsRefused)
{
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const ScopedEnvironment temp("TMPDIR", QFile::encodeName(m_folder.path()));
    const QString folder = UserRuntimePath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    // Planted by someone else, leading to a folder they can read.
    ASSERT_TRUE(QDir().mkpath(m_folder.filePath(QStringLiteral("elsewhere"))));
    ASSERT_TRUE(QFile::link(m_folder.filePath(QStringLiteral("elsewhere")), folder));

    EXPECT_THROW(UserRuntimePath(), EKestrunError);
}

TEST_F(SingleInstance, PrivateFoldersAreMadeWithTheirParents)
{
    const QString traces = m_folder.filePath(QStringLiteral("Kestrun/Traces"));
    CreatePrivateFolder(traces);
    EXPECT_EQ(QFile::permissions(traces), OwnerOnly);
    EXPECT_EQ(QFile::permissions(m_folder.filePath(QStringLiteral("Kestrun"))), OwnerOnly);
}
