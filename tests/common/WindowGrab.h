// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

/**
 * Pictures of the windows for the documentation, taken by the UI tests as they
 * go: with KESTRUN_SCREENSHOT_DIR set, saves what the window shows now as
 * <that folder>/<name>.png (the folder is made if needed); otherwise does
 * nothing. A picture that cannot be saved fails the test.
 */
inline void GrabWindow(QWidget& window, const QString& name)
{
    const QString folder = qEnvironmentVariable("KESTRUN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool saved = QDir().mkpath(folder) && window.grab().save(path, "PNG");
    EXPECT_TRUE(saved) << path.toStdString();
}
