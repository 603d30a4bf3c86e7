// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/NotificationColor.h"
#include "settings/Color.h"

#include <QPalette>

#include <gtest/gtest.h>

namespace {

constexpr TColor Own = 0x00123456;
constexpr TColor Accent = 0x00D77800;

QPalette PaletteWithWindow(const QColor& window)
{
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Highlight, QColor(0, 120, 215));
    return palette;
}

} // namespace

TEST(NotificationColor, TheDecisionFollowsTheSwitchesAndWhatTheDesktopTells)
{
    const TDesktopColors unknown;
    const TDesktopColors light {true, std::nullopt};
    const TDesktopColors dark {false, std::nullopt};
    const TDesktopColors darkWithAccent {false, Accent};
    const TDesktopColors accentOnly {std::nullopt, Accent};
    const struct
    {
        const char* name;
        bool useWindows;
        bool useAccent;
        const TDesktopColors& desktop;
        TColor expected;
    } cases[] = {
        {"own colour, accent ignored", false, true, darkWithAccent, Own},
        {"light theme", true, false, light, LightThemeNotificationColor},
        {"dark theme", true, false, dark, DarkThemeNotificationColor},
        {"theme colour without accent switch", true, false, darkWithAccent, DarkThemeNotificationColor},
        {"dark theme, no accent value", true, true, dark, DarkThemeNotificationColor},
        {"accent wins over the theme", true, true, darkWithAccent, Accent},
        {"accent without a theme", true, true, accentOnly, Accent},
        {"desktop tells nothing", true, true, unknown, Own},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(GetNotificationColor(entry.useWindows, entry.useAccent, Own, entry.desktop), entry.expected);
    }
}

TEST(NotificationColor, ThePaletteTellsThemeAndAccent)
{
    const struct
    {
        QColor window;
        bool light;
    } cases[] = {
        {QColor(255, 255, 255), true},
        {QColor(239, 240, 241), true},
        {QColor(49, 54, 59), false},
        {QColor(30, 30, 30), false},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.window.name().toStdString());
        const TDesktopColors colors = DesktopColorsFromPalette(PaletteWithWindow(entry.window));
        EXPECT_EQ(colors.lightTheme, std::optional<bool>(entry.light));
        EXPECT_EQ(colors.accentColor, std::optional<TColor>(Accent));
    }
}

TEST(NotificationColor, SystemColoursResolveThroughThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Button, QColor(7, 8, 9));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(10, 11, 12));
    palette.setColor(QPalette::Active, QPalette::ToolTipBase, QColor(13, 14, 15));
    const struct
    {
        TColor color;
        TColor expected;
    } cases[] = {
        {clHighlight, RGB(1, 2, 3)},
        {0xFF000005, RGB(4, 5, 6)}, // clWindow
        {0xFF00000F, RGB(7, 8, 9)}, // clBtnFace
        {0xFF000011, RGB(10, 11, 12)}, // clGrayText
        {0xFF000018, RGB(13, 14, 15)}, // clInfoBk
        {0xFF000019, clBlack}, // no such system colour
        {0xFF0000FF, clBlack},
        {RGB(200, 100, 50), RGB(200, 100, 50)},
        {clNone, clNone},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(ColorToString(entry.color).toStdString());
        EXPECT_EQ(ColorToRGB(entry.color, palette), entry.expected);
    }
    EXPECT_EQ(ToQColor(clHighlight, palette), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(RGB(227, 236, 247), palette), QColor(227, 236, 247));
}

TEST(NotificationColor, ColourTextsUseTheNameWhenThereIsOne)
{
    const struct
    {
        TColor color;
        const char* text;
    } cases[] = {
        {RGB(255, 255, 255), "clWhite"}, {RGB(227, 236, 247), "$00F7ECE3"}, {0x00F0CAA6, "clSkyBlue"},
        {0xFF000015, "cl3DDkShadow"},    {clDefault, "clDefault"},          {0xFF000019, "$FF000019"},
        {0x00ABCDEF, "$00ABCDEF"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.text);
        EXPECT_EQ(ColorToString(entry.color), QString::fromLatin1(entry.text));
        EXPECT_EQ(StringToColor(QString::fromLatin1(entry.text)), std::optional<TColor>(entry.color));
    }
}
