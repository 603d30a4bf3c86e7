// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <concepts>

/**
 * Plays the user's part in a modal window: calls open(), which shows the window
 * and returns once it is closed, and runs step(window) as soon as the window is
 * the active modal one. Returns whether a TWindow was shown.
 *
 * Whatever the step leaves open is closed, and so is a modal window of another
 * type, so that a failed check ends the test instead of leaving it waiting.
 * Drives nest: a step may open a second modal window with a driver of its own.
 */
template <typename TWindow, std::invocable<TWindow&> TStep, std::invocable TOpen>
bool DriveModal(TStep&& step, TOpen&& open)
{
    bool shown = false;
    // Owned here rather than a QTimer::singleShot: if open() shows nothing, the
    // check must not fire later in some other test's window.
    QTimer poll;
    poll.setSingleShot(true);
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal) {
            // open() may run the event loop before its window appears.
            poll.start();
            return;
        }
        if (auto* window = qobject_cast<TWindow*>(modal)) {
            shown = true;
            step(*window);
        }
        // The step may have deleted the window along with closing it.
        if (modal && modal->isVisible()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    poll.start();
    open();
    return shown;
}
