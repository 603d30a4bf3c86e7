// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QPushButton;
class QWidget;

/**
 * @brief Return and Enter in a window that is no dialog do what they do in a
 * dialog: press the focused push button, else the window's default button.
 *
 * Only keys that the focused control leaves unused arrive here (a list or a
 * one-line field passes Return on). A disabled or hidden button is not pressed.
 * Made with the window as parent; it watches the window until it goes.
 */
class TDefaultButton : public QObject
{
    Q_OBJECT

public:
    TDefaultButton(QWidget& window, QPushButton& button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    QPushButton& m_button;
};
