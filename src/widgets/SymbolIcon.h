// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QStringView>

// An icon of the program's icon list drawn in the blue of the editors' arrow and
// tool buttons (dark on light buttons, light on dark ones); a null icon when the
// list has no icon of that name.
QIcon SymbolIcon(QStringView name, int size = 20);
