// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QToolButton>

/**
 * @brief A button of a notification window that runs one action sequence.
 *
 * It draws itself: the icon above the caption in the window's text colour, a
 * rounded outline in the window's button-border colour, a light wash while
 * the mouse is over it, and everything faded while it is disabled, so that it
 * looks the same on every desktop style and on every notification colour.
 * Slot is the position of its sequence in the window's list (the same
 * sequence may be listed twice, so the slot, not the ID, tells the buttons apart).
 */
class TActionSequenceButton : public QToolButton
{
    Q_OBJECT

public:
    TActionSequenceButton(int slot, QWidget* parent);

    int Slot() const { return m_slot; }
    void SetColors(const QColor& fontColor, const QColor& borderColor);

    // A tool tip that shows the text as it is, never as markup.
    static QString PlainToolTip(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_slot;
    QColor m_fontColor;
    QColor m_borderColor;
};
