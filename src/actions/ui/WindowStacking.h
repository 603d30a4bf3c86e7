// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The screen corner notification windows stack in, as the settings number it.
enum class TStackCorner : int
{
    LowerRight = 0,
    LowerLeft = 1,
    UpperLeft = 2,
    UpperRight = 3
};

/**
 * Where each window of a stack goes (its top-left corner), in stacking order.
 *
 * Windows stack in columns 10 apart from the corner inwards: at the lower
 * corners upwards, the lowest 10 above the work area's bottom; at the upper
 * corners downwards, the highest 10 below its top, each 10 below the previous
 * window's bottom. At the right corners they touch the work area's right edge,
 * at the left ones they keep 10 from its left edge. A window that does not fit
 * below (or above) the previous one of its column opens a new column, which
 * moves inwards by the widest window so far plus 10. A window that does not fit
 * even as the first of a fresh column is put at the work area's top in a column
 * of its own, and the windows after it stack on in the next column: every
 * window gets a position, and stacking always ends.
 */
QList<QPoint> StackWindows(const QRect& workArea, TStackCorner corner, const QList<QSize>& sizes);
