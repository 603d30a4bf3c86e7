// SPDX-License-Identifier: GPL-3.0-or-later

// Asking the program about itself gets an answer at once, even while it runs: a
// second start would otherwise hand the option to the softphone side as its argument.
#include "ScopedEnvironment.h"
#include "platform/AppVersion.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(InformationOptions, AreAnsweredWithoutADisplayAndNeverHandedOver)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString runtime = root.filePath(QStringLiteral("run"));
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The started programs inherit this session, and a platform that cannot start.
    const ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", runtime.toUtf8());
    const ScopedEnvironment session("XDG_SESSION_ID", "7");
    const ScopedEnvironment user("USER", "anna");
    const ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
    const ScopedEnvironment display("DISPLAY", std::nullopt);
    const ScopedEnvironment wayland("WAYLAND_DISPLAY", std::nullopt);

    const TSingleInstance running(TSingleInstance::LockPath());
    ASSERT_TRUE(running.IsFirst());
    QLocalServer softphoneSide;
    ASSERT_TRUE(softphoneSide.listen(runtime + QStringLiteral("/kestrun-handoff-7anna")));

    const struct
    {
        const char* option;
        QByteArray answerBegins;
    } cases[] = {
        {"--version", "kestrun-eventcontroller " + GetAppVersionLabel().toUtf8() + '\n'},
        {"--help", "Usage: kestrun-eventcontroller [ARGUMENT]\n"},
        {"-h", "Usage: kestrun-eventcontroller [ARGUMENT]\n"},
    };
    for (const auto& c : cases) {
        QProcess app;
        app.start(QStringLiteral(KESTRUN_APP_PATH), {QString::fromLatin1(c.option)});
        ASSERT_TRUE(app.waitForFinished(30000)) << c.option;
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << c.option;
        EXPECT_EQ(app.exitCode(), 0) << c.option;
        EXPECT_TRUE(app.readAllStandardOutput().startsWith(c.answerBegins)) << c.option;
    }
    EXPECT_FALSE(softphoneSide.waitForNewConnection(200));
}
