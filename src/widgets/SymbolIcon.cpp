// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/SymbolIcon.h"

#include "model/IconList.h"

#include <QColor>
#include <QPixmap>

QIcon SymbolIcon(QStringView name, int size)
{
    const IconList& icons = IconList::Instance();
    const QImage image = icons.Render(icons.IndexOf(name), QSize(size, size), QColor(0x0d, 0x2b, 0x6b));
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}
