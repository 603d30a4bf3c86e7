// SPDX-License-Identifier: GPL-3.0-or-later

#include "BridgeOptions.h"
#include "LineSimError.h"

#include <gtest/gtest.h>

namespace {

BridgeOptions Parse(const QString& line)
{
    return BridgeOptions::parse(line.split(u' ', Qt::SkipEmptyParts));
}

TEST(BridgeOptions, DefaultsWorkOnTheLocalMachine)
{
    const BridgeOptions options = Parse("serve");
    EXPECT_EQ(options.command, "serve");
    EXPECT_EQ(options.service, "com.orvixit.Softphone");
    EXPECT_EQ(options.lines, 4);
    EXPECT_EQ(options.sipListen, "127.0.0.1:5060");
    EXPECT_EQ(options.account, "sip:orvix@127.0.0.1");
    EXPECT_EQ(options.terminatedMs, 1000);
}

TEST(BridgeOptions, TakesEveryOptionInBothSpellings)
{
    const BridgeOptions options =
        Parse("--service=com.example.Phone serve --lines 2 --sip-listen [::1]:5070 --account=sip:620@fritz.box "
              "--ctrl-port 4711 --country-code 43 --area-code=1 --terminated-ms 0 --baresip /opt/baresip "
              "--audio alsa,default --folder /tmp/b");
    EXPECT_EQ(options.service, "com.example.Phone");
    EXPECT_EQ(options.lines, 2);
    EXPECT_EQ(options.sipListen, "[::1]:5070");
    EXPECT_EQ(options.account, "sip:620@fritz.box");
    EXPECT_EQ(options.ctrlPort, 4711);
    EXPECT_EQ(options.countryCode, "43");
    EXPECT_EQ(options.areaCode, "1");
    EXPECT_EQ(options.terminatedMs, 0);
    EXPECT_EQ(options.baresip, "/opt/baresip");
    EXPECT_EQ(options.audio, "alsa,default");
    EXPECT_EQ(options.folder, "/tmp/b");
    EXPECT_EQ(Parse("quit").command, "quit");
    EXPECT_EQ(Parse("--account sip:620@fritz.box set-password").command, "set-password");
    EXPECT_TRUE(Parse("serve --password-stdin").passwordFromInput);
    EXPECT_FALSE(options.passwordFromInput);
    EXPECT_EQ(Parse("serve --help").command, "help");
}

TEST(BridgeOptions, RefusesWhatItCannotUse)
{
    struct Case
    {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"", "no command given (see orvix-baresip --help)"},
        {"call", "unknown command 'call' (see orvix-baresip --help)"},
        {"serve quit", "unexpected 'quit' (see orvix-baresip --help)"},
        {"serve --frobnicate", "unknown option --frobnicate (see orvix-baresip --help)"},
        {"serve --account", "option --account needs a value"},
        {"serve --account --lines 2", "option --account needs a value"},
        {"serve --lines 0", "invalid value '0' for --lines (expected 1..255)"},
        {"serve --ctrl-port 65536", "invalid value '65536' for --ctrl-port (expected 1..65535)"},
        {"serve --terminated-ms -1", "invalid value '-1' for --terminated-ms (expected 0..60000)"},
        {"serve --sip-listen 127.0.0.1", "invalid --sip-listen '127.0.0.1' (expected ADDRESS:PORT)"},
        {"serve --sip-listen pbx:5060", "invalid --sip-listen 'pbx:5060' (expected ADDRESS:PORT)"},
        {"serve --sip-listen 127.0.0.1:0", "invalid value '0' for the port of --sip-listen (expected 1..65535)"},
        {"serve --account <sip:620@fritz.box>;auth_pass=secret",
         "the password does not go on the command line, where every local user can read it: keep it with "
         "'orvix-baresip set-password' or give it on standard input with --password-stdin"},
        {"serve --account=<sip:620@fritz.box>;AUTH_PASS=secret;regint=60",
         "the password does not go on the command line, where every local user can read it: keep it with "
         "'orvix-baresip set-password' or give it on standard input with --password-stdin"},
    };
    for (const Case& c : cases) {
        try {
            Parse(QString::fromUtf8(c.line));
            ADD_FAILURE() << c.line << ": accepted";
        } catch (const UsageError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message)) << c.line;
        }
    }
}

// Each value is one line of baresip's configuration; a line break in it would add lines of its own.
TEST(BridgeOptions, RefusesLineBreaksInConfigurationValues)
{
    const struct
    {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"serve", "--account", "sip:a@127.0.0.1>\nmodule_app httpd.so\nhttp_listen 0.0.0.0:8000\n<sip:b@127.0.0.1"},
         "--account must not contain control characters such as line breaks"},
        {{"serve", "--audio", "alsa\nmodule_app cons.so"},
         "--audio must not contain control characters such as line breaks"},
        {{"serve", "--audio=alsa\rdefault"}, "--audio must not contain control characters such as line breaks"},
    };
    for (const auto& c : cases) {
        try {
            BridgeOptions::parse(c.arguments);
            ADD_FAILURE() << c.arguments.join(u' ').toStdString() << ": accepted";
        } catch (const UsageError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message)) << c.arguments.join(u' ').toStdString();
        }
    }
}

} // namespace
