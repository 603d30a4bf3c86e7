// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowGrab.h"

#include "ScopedEnvironment.h"

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(WindowGrab, SavesThePictureInTheNamedFolder)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QStringLiteral("shots"));
    const ScopedEnvironment screenshots("KESTRUN_SCREENSHOT_DIR", QFile::encodeName(folder));
    QLabel window(QStringLiteral("Bitte warten"));
    window.resize(160, 90);

    GrabWindow(window, QStringLiteral("Label"));

    const QImage picture(folder + QStringLiteral("/Label.png"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(160, 90) * window.devicePixelRatio());
}
