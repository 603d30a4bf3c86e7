// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMessageBox>

/**
 * @brief The one way the program's windows show a message box.
 *
 * Each function shows a modal box with the caller's title and text (the German
 * UI texts are the callers') and returns the button the user clicked. A test
 * answers boxes in advance with SetNextAnswer: each call then takes the oldest
 * queued answer and shows nothing. Main thread only.
 */
class TMessageBox
{
public:
    using Button = QMessageBox::StandardButton;
    using Buttons = QMessageBox::StandardButtons;

    static Button Question(QWidget* parent, const QString& title, const QString& text,
                           Buttons buttons = QMessageBox::Yes | QMessageBox::No,
                           Button defaultButton = QMessageBox::NoButton);
    static Button Information(QWidget* parent, const QString& title, const QString& text,
                              Buttons buttons = QMessageBox::Ok, Button defaultButton = QMessageBox::NoButton);
    static Button Warning(QWidget* parent, const QString& title, const QString& text, Buttons buttons = QMessageBox::Ok,
                          Button defaultButton = QMessageBox::NoButton);
    static Button Critical(QWidget* parent, const QString& title, const QString& text,
                           Buttons buttons = QMessageBox::Ok, Button defaultButton = QMessageBox::NoButton);

    // Shows an information box with an OK button and returns at once; the box
    // deletes itself when the user closes it. Returns it (tests close it).
    static QMessageBox* Notice(QWidget* parent, const QString& title, const QString& text);

    // The answer must be one of the buttons the box will offer.
    static void SetNextAnswer(Button answer);
    // Answers queued but not yet taken: a test that leaves one has answered a
    // box that never came.
    static qsizetype PendingAnswers();
    static void ClearAnswers();

private:
    static Button Show(QMessageBox::Icon icon, QWidget* parent, const QString& title, const QString& text,
                       Buttons buttons, Button defaultButton);
};
