// SPDX-License-Identifier: GPL-3.0-or-later

#include "E2eSupport.h"
#include "TestFiles.h"

#include "platform/SecretStore.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace e2e;

namespace {

const QByteArray Password = "Geheim-1!x";

// orvix-baresip with the arguments and standard input; its exit status and everything it printed.
std::pair<int, QString> RunBridge(const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(ORVIX_BARESIP_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(Deadline));
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

QByteArray CommandLine(qint64 pid)
{
    return ReadFile(QStringLiteral("/proc/%1/cmdline").arg(pid));
}

// The password is kept once with set-password; serve hands it to baresip through the accounts file alone.
class BridgePassword : public BridgeTest
{
protected:
    void SetUp() override
    {
        if (const QString missing = MissingSipTools(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        const auto [status, output] =
            RunBridge({"--account", "sip:kestrun@127.0.0.2", "set-password"}, Password + "\n");
        ASSERT_EQ(status, 0) << output.toStdString();
        setPasswordOutput = output;
        StartBridge(2);
    }

    QString setPasswordOutput;
};

} // namespace

TEST_F(BridgePassword, ReachesBaresipButNoCommandLineAndNoOutput)
{
    EXPECT_TRUE(setPasswordOutput.contains("the SIP password of sip:kestrun@127.0.0.2 is kept in"))
        << setPasswordOutput.toStdString();
    EXPECT_FALSE(setPasswordOutput.contains(QString::fromLatin1(Password)));
    if (!TSecretStore::KeyringAvailable()) {
        const QString file = TSecretStore::DefaultFile();
        EXPECT_TRUE(setPasswordOutput.contains(file)) << setPasswordOutput.toStdString();
        EXPECT_EQ(QFile(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    }

    EXPECT_TRUE(
        ReadFile(m_folder.filePath("bridge/accounts")).contains(QByteArray(QByteArray(";auth_pass=") + Password)));
    EXPECT_FALSE(CommandLine(bridge->Pid()).contains(Password));
    EXPECT_FALSE(CommandLine(bridge->BaresipPid()).contains(Password));
    EXPECT_FALSE(bridge->Output().contains(QString::fromLatin1(Password)));
}

TEST(BridgePasswordOptions, PasswordOnTheCommandLineIsRefused)
{
    const auto [status, output] =
        RunBridge({"serve", "--account", "<sip:620@fritz.box>;auth_pass=" + QString::fromLatin1(Password)}, {});
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(output.contains("the password does not go on the command line")) << output.toStdString();
    EXPECT_FALSE(output.contains(QString::fromLatin1(Password)));
}

TEST(BridgePasswordOptions, PasswordBaresipCannotTakeIsRefused)
{
    const auto [status, output] = RunBridge({"--account", "sip:kestrun@127.0.0.2", "set-password"}, "two words\n");
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(output.contains("baresip cannot take a password with blanks")) << output.toStdString();
}
