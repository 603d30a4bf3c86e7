// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/WindowStacking.h"

#include <algorithm>

namespace {

constexpr int Gap = 10;

} // namespace

QList<QPoint> StackWindows(const QRect& workArea, TStackCorner corner, const QList<QSize>& sizes)
{
    const bool lower = corner == TStackCorner::LowerRight || corner == TStackCorner::LowerLeft;
    const bool right = corner == TStackCorner::LowerRight || corner == TStackCorner::UpperRight;
    const int top = workArea.y();
    const int bottom = workArea.y() + workArea.height();

    QList<QPoint> positions;
    int columnX = right ? workArea.x() + workArea.width() : workArea.x();
    int widest = 0;
    bool freshColumn = true;
    // The top of the last window placed (lower corners) or its bottom (upper corners).
    int previousEdge = 0;
    for (const QSize& size : sizes) {
        for (;;) {
            const int y = lower ? (freshColumn ? bottom : previousEdge) - size.height() - Gap
                                : (freshColumn ? top : previousEdge) + Gap;
            const int x = right ? columnX - size.width() : columnX + Gap;
            widest = std::max(widest, size.width());
            const bool fits = lower ? y >= top : y + size.height() <= bottom;
            if (fits) {
                positions.append(QPoint(x, y));
                previousEdge = lower ? y : y + size.height();
                freshColumn = false;
                break;
            }
            if (freshColumn) {
                // Too tall for any column: it takes a column of its own, from the
                // work area's top, and the next window starts the next column.
                positions.append(QPoint(x, top));
                columnX += right ? -(widest + Gap) : widest + Gap;
                break;
            }
            columnX += right ? -(widest + Gap) : widest + Gap;
            freshColumn = true;
        }
    }
    return positions;
}
