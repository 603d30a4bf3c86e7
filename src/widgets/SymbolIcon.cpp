// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/SymbolIcon.h"

#include "model/IconList.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>

QIcon SymbolIcon(QStringView name, int size)
{
    const IconList& icons = IconList::Instance();
    // Dark blue on the buttons of a light theme; a dark theme's buttons need the light counterpart.
    const bool darkButtons = QGuiApplication::palette().color(QPalette::Button).lightness() < 128;
    const QColor color = darkButtons ? QColor(0x8a, 0xb4, 0xf8) : QColor(0x0d, 0x2b, 0x6b);
    const QImage image = icons.Render(icons.IndexOf(name), QSize(size, size), color);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}
