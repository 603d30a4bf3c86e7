// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

/**
 * The Qt platform the program runs on. Notification windows place themselves on
 * the screen, which a Wayland session does not let native windows do, so there
 * the program runs through XWayland, and natively only when the session has no
 * X server. A platform the user named (QT_QPA_PLATFORM, or -platform, which Qt
 * lets win over the variable) is kept.
 */
struct TDisplayEnvironment
{
    QByteArray qtPlatform; // QT_QPA_PLATFORM
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray sessionType; // XDG_SESSION_TYPE

    static TDisplayEnvironment OfProcess();
};

// The value for QT_QPA_PLATFORM, or empty to leave the choice to Qt.
QByteArray ChooseDisplayPlatform(const TDisplayEnvironment& environment);

// Sets QT_QPA_PLATFORM as chosen; before the application object exists.
void ApplyDisplayPlatform();
