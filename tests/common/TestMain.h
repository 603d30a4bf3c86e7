// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

/**
 * The body of a test program's main: runs its tests inside an application
 * object of the kind they need (QGuiApplication for core code, QApplication
 * for windows). Tests run headless unless the caller chose a platform
 * (scripts/test may run a few of them under Xvfb for the real tray).
 */
template <typename TApplication>
int RunTests(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's own data folder and temporary files stay out of reach: every
    // test program gets folders of its own, removed when it ends.
    QTemporaryDir home;
    if (!home.isValid())
        return EXIT_FAILURE;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    // Machine-wide settings too, for this program and the programs it starts.
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.filePath(QStringLiteral("xdg"))));
    // The browser profile of the HTML message window keeps its cache there.
    // The personal-information store's folders lie below it.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
    qputenv("TMPDIR", QFile::encodeName(home.filePath(QStringLiteral("tmp"))));
    QDir().mkpath(home.filePath(QStringLiteral("tmp")));
    // The session's private folder (trace, instance lock, hand-off socket), made
    // as a session makes it: only its user may enter.
    const QString runtime = home.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));

    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
