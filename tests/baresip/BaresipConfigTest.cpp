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
