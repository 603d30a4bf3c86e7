// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// Moves the shown window's frame to the centre of its screen's work area. The
// frame is known only once the window is shown: call it from showEvent.
void CenterOnScreen(QWidget& window);
