// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Starts program with exactly these arguments: no shell sees them, so text from a
// call stays the argument it was given as. A program name without a slash is looked
// up in PATH. The process runs detached in a session and process group of its own:
// it outlives this program and is not hit by signals meant for it. Returns the
// process id, or nullopt with the reason in *error.
std::optional<qint64> StartDetachedProcess(const QString& program, const QStringList& arguments, QString* error);

// Returns when the process has ended. The event loop runs meanwhile, the way it does
// while a modal window is open: notifications are taken in, windows repaint and fade.
// The program's end also ends the wait, as it ends every running event loop.
void WaitForProcessEnd(qint64 pid);

// Runs program with exactly these arguments in a session of its own (no shell, input
// from /dev/null) and waits for its exit status on a worker thread while the event
// loop goes on. A program still running after handOverMs has taken the job (xdg-email
// waits for a mail program it started): it counts as exit status 0, goes on, and is
// reaped when it ends. Returns the exit status, or nullopt with the reason in *error
// when it cannot be started, ends by a signal, or the program quits meanwhile.
std::optional<int> RunProcessForStatus(const QString& program, const QStringList& arguments, int handOverMs,
                                       QString* error);

// Whether a program of this name (or path) can be started, as StartDetachedProcess
// would look it up.
bool IsProgramInstalled(const QString& program);
