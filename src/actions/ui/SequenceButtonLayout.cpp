// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/SequenceButtonLayout.h"

#include <algorithm>

TSequenceButtonLayout TSequenceButtonLayout::ForWindow(int clientWidth, int sequenceCount)
{
    TSequenceButtonLayout layout;
    if (sequenceCount <= 0)
        return layout;
    const int space = clientWidth - 2 * Margin;
    int count = sequenceCount;
    int width = (space - (count - 1) * Spacing) / count;
    while (width < MinimumWidth && count > 1) {
        --count;
        width = (space - (count - 1) * Spacing) / count;
    }
    layout.Count = count;
    layout.Width = std::max(width, 0);
    return layout;
}

QString ShortenedCaption(const QString& name, const QFontMetrics& metrics, int width)
{
    const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width - 10; };
    if (fits(name))
        return name;
    // The first step cuts four characters and appends three dots; each further
    // step drops one more character of the name, down to the dots alone.
    QString dots = QStringLiteral("...");
    for (qsizetype keep = name.length() - 4; keep > 0; --keep) {
        QString caption = name.left(keep) + dots;
        if (fits(caption))
            return caption;
    }
    return dots;
}
