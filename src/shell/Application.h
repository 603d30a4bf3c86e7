// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program: answers --help and --version, or creates the application object
// and the hidden main window, runs the event loop until the program is ended, and
// returns the exit status.
int RunApplication(int argc, char** argv);
