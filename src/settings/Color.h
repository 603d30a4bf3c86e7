// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringView>

#include <optional>

/**
 * A colour as the settings file and the notification windows keep it: red in the
 * lowest byte, green in the next, blue in the third ($00BBGGRR). A highest byte
 * of $FF marks a colour of the desktop instead, whose lowest byte is the index
 * of a system colour (COLOR_WINDOW = 5, COLOR_HIGHLIGHT = 13 ...); ColorToRGB
 * turns it into the desktop's current colour.
 */
using TColor = quint32;

constexpr TColor SystemColorFlag = 0xFF000000;
constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(int red, int green, int blue)
{
    return TColor(red & 0xFF) | TColor(green & 0xFF) << 8 | TColor(blue & 0xFF) << 16;
}

// The name of the colour table ("clWhite", "clHighlight" ...) when the value has
// one, else "$" and eight hexadecimal digits in capitals ("$00F7ECE3").
QString ColorToString(TColor color);
// A name of the table in any case, else a number as TextToInteger reads it;
// empty when the text is neither.
std::optional<TColor> StringToColor(QStringView text);

/**
 * The colour to draw: a system colour becomes the palette's colour of the
 * corresponding role (see the table in Color.cpp), an index without one black;
 * every other value is returned as it is, so clNone and clDefault stay
 * themselves for the caller to decide.
 */
TColor ColorToRGB(TColor color, const QPalette& palette);
// The drawing colour of the value: its three lowest bytes after ColorToRGB.
QColor ToQColor(TColor color, const QPalette& palette);
TColor FromQColor(const QColor& color);
