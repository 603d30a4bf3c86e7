// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/Color.h"

#include <QPalette>

#include <optional>

// The notification colour of a light desktop theme (red 227, green 236, blue 247).
constexpr TColor LightThemeNotificationColor = 0x00F7ECE3;
// The notification colour of a dark desktop theme (29, 29, 29).
constexpr TColor DarkThemeNotificationColor = 0x001D1D1D;

/**
 * @brief What the desktop tells about its colours; each part is empty when the
 * desktop does not tell it.
 */
struct TDesktopColors
{
    std::optional<bool> lightTheme;
    std::optional<TColor> accentColor;
};

/**
 * A light theme when the palette's window colour is light (lightness above the
 * middle), a dark one otherwise; the accent colour is the palette's highlight.
 */
TDesktopColors DesktopColorsFromPalette(const QPalette& palette);
// From the application's palette while a GUI application runs; else nothing is known.
TDesktopColors CurrentDesktopColors();

/**
 * The colour of a notification window. Without UseWindows the own colour. With
 * it, the theme's colour (LightThemeNotificationColor or DarkThemeNotificationColor),
 * or the own colour when the desktop names no theme; with UseAccent the accent
 * colour wins over both when the desktop names one.
 */
TColor GetNotificationColor(bool UseWindows, bool UseAccent, TColor NotificationColor, const TDesktopColors& desktop);
TColor GetNotificationColor(bool UseWindows, bool UseAccent, TColor NotificationColor);
