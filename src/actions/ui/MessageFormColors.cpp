// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/MessageFormColors.h"

#include <algorithm>

namespace {

QColor Shifted(const QColor& color, int delta)
{
    return QColor(std::clamp(color.red() + delta, 0, 255), std::clamp(color.green() + delta, 0, 255),
                  std::clamp(color.blue() + delta, 0, 255));
}

} // namespace

TMessageFormColors TMessageFormColors::FromColor(const QColor& color)
{
    const double luminance = 0.299 * color.red() + 0.587 * color.green() + 0.114 * color.blue();
    const bool dark = luminance <= 127.5;
    TMessageFormColors colors;
    colors.FormColor = QColor(color.red(), color.green(), color.blue());
    colors.FontColor = dark ? QColor(Qt::white) : QColor(Qt::black);
    colors.FormBorderColor = Shifted(color, dark ? 20 : -20);
    colors.ButtonBorderColor = colors.FormBorderColor;
    colors.TransparentColor = Shifted(color, -2);
    return colors;
}
