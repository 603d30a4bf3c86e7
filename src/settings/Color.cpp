// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/Color.h"

#include "platform/NumberText.h"

#include <array>

namespace {

struct NamedColor
{
    QStringView name;
    TColor value;
};

constexpr std::array<NamedColor, 52> ColorNames {{
    {u"clBlack", 0x00000000},
    {u"clMaroon", 0x00000080},
    {u"clGreen", 0x00008000},
    {u"clOlive", 0x00008080},
    {u"clNavy", 0x00800000},
    {u"clPurple", 0x00800080},
    {u"clTeal", 0x00808000},
    {u"clGray", 0x00808080},
    {u"clSilver", 0x00C0C0C0},
    {u"clRed", 0x000000FF},
    {u"clLime", 0x0000FF00},
    {u"clYellow", 0x0000FFFF},
    {u"clBlue", 0x00FF0000},
    {u"clFuchsia", 0x00FF00FF},
    {u"clAqua", 0x00FFFF00},
    {u"clWhite", 0x00FFFFFF},
    {u"clMoneyGreen", 0x00C0DCC0},
    {u"clSkyBlue", 0x00F0CAA6},
    {u"clCream", 0x00F0FBFF},
    {u"clMedGray", 0x00A4A0A0},
    {u"clActiveBorder", 0xFF00000A},
    {u"clActiveCaption", 0xFF000002},
    {u"clAppWorkSpace", 0xFF00000C},
    {u"clBackground", 0xFF000001},
    {u"clBtnFace", 0xFF00000F},
    {u"clBtnHighlight", 0xFF000014},
    {u"clBtnShadow", 0xFF000010},
    {u"clBtnText", 0xFF000012},
    {u"clCaptionText", 0xFF000009},
    {u"clDefault", 0x20000000},
    {u"clGradientActiveCaption", 0xFF00001B},
    {u"clGradientInactiveCaption", 0xFF00001C},
    {u"clGrayText", 0xFF000011},
    {u"clHighlight", 0xFF00000D},
    {u"clHighlightText", 0xFF00000E},
    {u"clHotLight", 0xFF00001A},
    {u"clInactiveBorder", 0xFF00000B},
    {u"clInactiveCaption", 0xFF000003},
    {u"clInactiveCaptionText", 0xFF000013},
    {u"clInfoBk", 0xFF000018},
    {u"clInfoText", 0xFF000017},
    {u"clMenu", 0xFF000004},
    {u"clMenuBar", 0xFF00001E},
    {u"clMenuHighlight", 0xFF00001D},
    {u"clMenuText", 0xFF000007},
    {u"clNone", 0x1FFFFFFF},
    {u"clScrollBar", 0xFF000000},
    {u"cl3DDkShadow", 0xFF000015},
    {u"cl3DLight", 0xFF000016},
    {u"clWindow", 0xFF000005},
    {u"clWindowFrame", 0xFF000006},
    {u"clWindowText", 0xFF000008},
}};

struct PaletteRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexed by the desktop's system colour number. The pairs are those Qt's own
// Windows platform uses to build its palette from these colours, read backwards;
// colours Qt has no role for take the role closest in use.
constexpr std::array<std::optional<PaletteRole>, 31> SystemColorRoles {{
    PaletteRole {QPalette::Active, QPalette::Mid}, // scroll bar
    PaletteRole {QPalette::Active, QPalette::Dark}, // desktop
    PaletteRole {QPalette::Active, QPalette::Highlight}, // active caption
    PaletteRole {QPalette::Inactive, QPalette::Highlight}, // inactive caption
    PaletteRole {QPalette::Active, QPalette::Window}, // menu
    PaletteRole {QPalette::Active, QPalette::Base}, // window
    PaletteRole {QPalette::Active, QPalette::Shadow}, // window frame
    PaletteRole {QPalette::Active, QPalette::WindowText}, // menu text
    PaletteRole {QPalette::Active, QPalette::Text}, // window text
    PaletteRole {QPalette::Active, QPalette::HighlightedText}, // caption text
    PaletteRole {QPalette::Active, QPalette::Mid}, // active border
    PaletteRole {QPalette::Active, QPalette::Midlight}, // inactive border
    PaletteRole {QPalette::Active, QPalette::Dark}, // application workspace
    PaletteRole {QPalette::Active, QPalette::Highlight}, // highlight
    PaletteRole {QPalette::Active, QPalette::HighlightedText}, // highlight text
    PaletteRole {QPalette::Active, QPalette::Button}, // button face
    PaletteRole {QPalette::Active, QPalette::Dark}, // button shadow
    PaletteRole {QPalette::Disabled, QPalette::Text}, // grey text
    PaletteRole {QPalette::Active, QPalette::ButtonText}, // button text
    PaletteRole {QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
    PaletteRole {QPalette::Active, QPalette::Light}, // button highlight
    PaletteRole {QPalette::Active, QPalette::Shadow}, // 3D dark shadow
    PaletteRole {QPalette::Active, QPalette::Midlight}, // 3D light
    PaletteRole {QPalette::Active, QPalette::ToolTipText}, // info text
    PaletteRole {QPalette::Active, QPalette::ToolTipBase}, // info background
    std::nullopt, // no system colour has this number
    PaletteRole {QPalette::Active, QPalette::Link}, // hot-tracked item
    PaletteRole {QPalette::Active, QPalette::Highlight}, // gradient of the active caption
    PaletteRole {QPalette::Inactive, QPalette::Highlight}, // gradient of the inactive caption
    PaletteRole {QPalette::Active, QPalette::Highlight}, // highlighted menu item
    PaletteRole {QPalette::Active, QPalette::Window}, // menu bar
}};

} // namespace

QString ColorToString(TColor color)
{
    for (const NamedColor& named : ColorNames) {
        if (named.value == color)
            return named.name.toString();
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<TColor> StringToColor(QStringView text)
{
    const QStringView name = text.trimmed();
    for (const NamedColor& named : ColorNames) {
        if (named.name.compare(name, Qt::CaseInsensitive) == 0)
            return named.value;
    }
    if (const auto number = TextToInteger(text))
        return TColor(*number);
    return std::nullopt;
}

TColor ColorToRGB(TColor color, const QPalette& palette)
{
    if ((color & SystemColorFlag) != SystemColorFlag)
        return color;
    const TColor index = color & 0xFF;
    if (index >= SystemColorRoles.size() || !SystemColorRoles[index])
        return clBlack;
    return FromQColor(palette.color(SystemColorRoles[index]->group, SystemColorRoles[index]->role));
}

QColor ToQColor(TColor color, const QPalette& palette)
{
    const TColor rgb = ColorToRGB(color, palette);
    return QColor(int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF));
}

TColor FromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}
