// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * What a start of the program does while another instance runs in the same
 * session: with an argument it hands that to the softphone side (see
 * HandoffMessage) and ends silently, whether or not anyone took it; without one
 * it tells the user that the program runs already. Returns the exit status:
 * 0 after a hand-off, 1 after the message.
 */
int RunSecondStart(int argc, char** argv);

// The error box "Application already running."; needs the application object.
void ShowAlreadyRunning();
