// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/NotificationColor.h"

#include <QGuiApplication>

TDesktopColors DesktopColorsFromPalette(const QPalette& palette)
{
    TDesktopColors colors;
    colors.lightTheme = palette.color(QPalette::Active, QPalette::Window).lightness() > 127;
    colors.accentColor = FromQColor(palette.color(QPalette::Active, QPalette::Highlight));
    return colors;
}

TDesktopColors CurrentDesktopColors()
{
    // A program without a GUI application (a tool, a core test) has no desktop to ask.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    return DesktopColorsFromPalette(QGuiApplication::palette());
}

TColor GetNotificationColor(bool UseWindows, bool UseAccent, TColor NotificationColor, const TDesktopColors& desktop)
{
    if (!UseWindows)
        return NotificationColor;
    TColor result = NotificationColor;
    if (desktop.lightTheme)
        result = *desktop.lightTheme ? LightThemeNotificationColor : DarkThemeNotificationColor;
    if (UseAccent && desktop.accentColor)
        result = *desktop.accentColor;
    return result;
}

TColor GetNotificationColor(bool UseWindows, bool UseAccent, TColor NotificationColor)
{
    return GetNotificationColor(UseWindows, UseAccent, NotificationColor, CurrentDesktopColors());
}
