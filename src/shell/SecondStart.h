// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

/**
 * What a start of the program does while another instance runs in the same
 * session: with an argument it hands that to the softphone side (see
 * HandoffMessage) and ends silently, whether or not anyone took it; without one
 * it tells the user that the program runs already. Returns the exit status:
 * 0 after a hand-off, 1 after the message.
 */
int RunSecondStart(int argc, char** argv);

/**
 * What `--show` does while another instance runs: asks it over its D-Bus
 * interface to bring its rule list forward and ends with 0. When it cannot be
 * asked (it runs without the interface), says that the program runs already and
 * ends with 1.
 */
int RunShowRules(int argc, char** argv);

/**
 * A start that asks to dial (a tel: or sip: link, --dial): a number that is no
 * dial string is refused with the reason (status 2); one while the program runs
 * goes to its Dial method on the session bus (status 0, or 1 with the
 * softphone's refusal). The reason is written to standard error, and shown in a
 * message box when the start came from the desktop rather than a terminal.
 * Returns nothing when no program runs: the caller starts it and places the
 * call then.
 */
std::optional<int> RunDialRequest(int argc, char** argv, const QString& request, bool programRuns);

// The error box "Application already running."; needs the application object.
void ShowAlreadyRunning();
