// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

/**
 * @brief The colours of a notification window, all derived from one body colour.
 *
 * Text and icons are white on a dark body and black on a light one; the
 * outlines are 20 per channel lighter (dark body) or darker (light body), so
 * they stand out against the body in either case. The key colour is the body
 * less 2 per channel: the window no longer keys it out (its corners are
 * transparent pixels), but it is kept as the colour of the area outside the
 * rounded body where a desktop cannot show transparency.
 */
struct TMessageFormColors
{
    QColor FormColor;
    QColor FormBorderColor;
    QColor ButtonBorderColor;
    QColor FontColor;
    QColor TransparentColor;

    static TMessageFormColors FromColor(const QColor& color);

    bool operator==(const TMessageFormColors&) const = default;
};
