// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/CenteredWindow.h"

#include <QScreen>
#include <QWidget>

void CenterOnScreen(QWidget& window)
{
    if (const QScreen* display = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(display->availableGeometry().center());
        window.move(frame.topLeft());
    }
}
