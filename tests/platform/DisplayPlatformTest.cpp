// SPDX-License-Identifier: GPL-3.0-or-later

// Which Qt platform the program starts on: XWayland in a Wayland session, so that
// its notification windows can place themselves, unless the user named one.
#include "platform/DisplayPlatform.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

TEST(DisplayPlatform, WaylandSessionsRunThroughXWaylandUnlessThePlatformIsNamed)
{
    const struct
    {
        TDisplayEnvironment environment;
        QByteArray chosen;
    } cases[] = {
        {{.qtPlatform = "", .waylandDisplay = "", .sessionType = "x11"}, ""},
        {{.qtPlatform = "", .waylandDisplay = "", .sessionType = "tty"}, ""},
        {{.qtPlatform = "", .waylandDisplay = "", .sessionType = ""}, ""},
        {{.qtPlatform = "", .waylandDisplay = "wayland-0", .sessionType = "wayland"}, "xcb;wayland"},
        {{.qtPlatform = "", .waylandDisplay = "wayland-0", .sessionType = ""}, "xcb;wayland"},
        {{.qtPlatform = "", .waylandDisplay = "", .sessionType = "Wayland"}, "xcb;wayland"},
        {{.qtPlatform = "wayland", .waylandDisplay = "wayland-0", .sessionType = "wayland"}, ""},
        {{.qtPlatform = "offscreen", .waylandDisplay = "wayland-0", .sessionType = "wayland"}, ""},
        {{.qtPlatform = "xcb", .waylandDisplay = "", .sessionType = "x11"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseDisplayPlatform(c.environment), c.chosen)
            << c.environment.qtPlatform.constData() << " / " << c.environment.waylandDisplay.constData() << " / "
            << c.environment.sessionType.constData();
}

TEST(DisplayPlatform, TheChoiceIsSetForQtAndANamedPlatformStays)
{
    const ScopedEnvironment display("WAYLAND_DISPLAY", "wayland-1");
    const ScopedEnvironment session("XDG_SESSION_TYPE", "wayland");
    {
        const ScopedEnvironment unnamed("QT_QPA_PLATFORM", std::nullopt);
        ApplyDisplayPlatform();
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb;wayland"));
    }
    const ScopedEnvironment named("QT_QPA_PLATFORM", "wayland");
    ApplyDisplayPlatform();
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));
}
