// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipConfig.h"
#include "BridgeError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

BaresipConfig Config(const QString& account)
{
    BaresipConfig config;
    config.sipListen = "127.0.0.1:5062";
    config.account = account;
    config.ctrlPort = 4711;
    config.modulePath = "/usr/lib/baresip/modules";
    return config;
}

struct AccountCase
{
    const char* account;
    const char* line;
    const char* address;
};

void PrintTo(const AccountCase& c, std::ostream* out)
{
    *out << c.account;
}

class BaresipAccount : public ::testing::TestWithParam<AccountCase>
{
};

TEST_P(BaresipAccount, RingsUntilTakenAndRegistersOnlyWithARegistrar)
{
    const BaresipConfig config = Config(QString::fromUtf8(GetParam().account));
    EXPECT_EQ(config.accountLine(), QString::fromUtf8(GetParam().line));
    EXPECT_EQ(config.accountAddress(), QString::fromUtf8(GetParam().address));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BaresipAccount,
    ::testing::Values(AccountCase {"sip:kestrun@127.0.0.2", "<sip:kestrun@127.0.0.2>;regint=0;answermode=manual",
                                   "sip:kestrun@127.0.0.2"},
                      AccountCase {" sip:620@fritz.box ", "<sip:620@fritz.box>;answermode=manual", "sip:620@fritz.box"},
                      AccountCase {"<sip:620@fritz.box>;auth_pass=secret",
                                   "<sip:620@fritz.box>;auth_pass=secret;answermode=manual", "sip:620@fritz.box"},
                      AccountCase {"<sip:a@127.0.0.1>;answermode=auto", "<sip:a@127.0.0.1>;answermode=auto",
                                   "sip:a@127.0.0.1"}));

TEST(BaresipConfig, ControlSocketOnLoopbackAndNoTerminalModule)
{
    BaresipConfig config = Config("sip:kestrun@127.0.0.2");
    const QString silent = config.configText();
    EXPECT_TRUE(silent.contains("\nsip_listen 127.0.0.1:5062\n"));
    EXPECT_TRUE(silent.contains("\nmodule_app ctrl_tcp.so\nctrl_tcp_listen 127.0.0.1:4711\n"));
    EXPECT_TRUE(silent.contains("\nmodule_path /usr/lib/baresip/modules\n"));
    EXPECT_FALSE(silent.contains("stdio")) << "baresip spins on a missing terminal";
    EXPECT_FALSE(silent.contains("alsa"));

    config.audio = "alsa,default";
    const QString audible = config.configText();
    EXPECT_TRUE(audible.contains("\nmodule alsa.so\n"));
    EXPECT_TRUE(audible.contains("\naudio_player alsa,default\n"));
}

TEST(BaresipConfig, PasswordGoesIntoTheAccountLine)
{
    BaresipConfig config = Config("sip:620@fritz.box");
    config.password = "Geheim-1!";
    EXPECT_EQ(config.accountLine(), "<sip:620@fritz.box>;answermode=manual;auth_pass=Geheim-1!");
    EXPECT_FALSE(config.configText().contains("Geheim"));
}

TEST(BaresipConfig, RaisesBaresipsCallLimitToTheLines)
{
    BaresipConfig config = Config("sip:kestrun@127.0.0.2");
    config.maxCalls = 6;
    EXPECT_TRUE(config.configText().contains("\ncall_max_calls 6\n"));
}

// A user's own baresip folder (~/.baresip) given as --folder: nothing there is changed.
TEST(BaresipConfig, LeavesAFolderWithFilesItDidNotWriteAlone)
{
    const struct
    {
        const char* name;
        QByteArray text;
    } foreign[] = {
        {"config", "sip_listen 0.0.0.0:5060\n"},
        {"accounts", "<sip:me@example.org>;auth_pass=mine\n"},
        {"contacts", "\"Anna\" <sip:anna@example.org>\n"},
    };
    const BaresipConfig config = Config("sip:kestrun@127.0.0.2");
    for (const auto& file : foreign) {
        QTemporaryDir folder;
        QFile own(folder.filePath(file.name));
        ASSERT_TRUE(own.open(QIODevice::WriteOnly) && own.write(file.text) == file.text.size());
        own.close();
        ASSERT_TRUE(own.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
        try {
            config.write(folder.path());
            ADD_FAILURE() << file.name << ": written over";
        } catch (const BridgeError& error) {
            EXPECT_TRUE(error.message().contains(file.name)) << error.message().toStdString();
        }
        ASSERT_TRUE(own.open(QIODevice::ReadOnly));
        EXPECT_EQ(own.readAll(), file.text) << file.name;
        EXPECT_TRUE(own.permissions() & QFileDevice::ReadOther) << file.name;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList {file.name});
    }
}

TEST(BaresipConfig, WritesAgainIntoItsOwnFolder)
{
    QTemporaryDir folder;
    const BaresipConfig config = Config("sip:kestrun@127.0.0.2");
    config.write(folder.path());
    QFile log(folder.filePath(BaresipConfig::LogName));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.close();
    EXPECT_NO_THROW(config.write(folder.path()));
}

TEST(BaresipConfig, WritesFilesForTheUserOnly)
{
    QTemporaryDir temporary;
    const QString folder = temporary.filePath("a/b");
    const BaresipConfig config = Config("<sip:620@fritz.box>;auth_pass=secret");
    config.write(folder);
    for (const char* name : {"config", "accounts"}) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.exists()) << name;
        EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther),
                  QFileDevice::Permissions())
            << name;
    }
    QFile accounts(QDir(folder).filePath("accounts"));
    ASSERT_TRUE(accounts.open(QIODevice::ReadOnly));
    EXPECT_EQ(accounts.readAll(), "<sip:620@fritz.box>;auth_pass=secret;answermode=manual\n");

    QFile blocker(temporary.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_THROW(config.write(temporary.filePath("file/sub")), BridgeError);
}

} // namespace
