// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFontMetrics>
#include <QString>

// The row of action-sequence buttons of a notification window.
struct TSequenceButtonLayout
{
    // How many buttons fit (the first Count sequences get one) and how wide each is.
    int Count = 0;
    int Width = 0;

    static constexpr int Margin = 10;
    static constexpr int Spacing = 10;
    static constexpr int MinimumWidth = 50;
    static constexpr int Top = 10;
    static constexpr int Height = 65;

    /**
     * The buttons for sequenceCount sequences in a window clientWidth wide:
     * the space between the margins is shared out with 10 between buttons, and
     * sequences are left out from the end while a button would be narrower than
     * 50. At least one button is kept, however narrow the window.
     */
    static TSequenceButtonLayout ForWindow(int clientWidth, int sequenceCount);

    // The left edge of button i.
    int Left(int index) const { return Margin + (Width + Spacing) * index; }
};

/**
 * The caption of a button width wide: the name as it is when it fits (width
 * less 10), otherwise shortened one character at a time and ended with "...".
 */
QString ShortenedCaption(const QString& name, const QFontMetrics& metrics, int width);
