// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

// Calls the handler from the event loop when the process gets SIGTERM or SIGINT
// (the end of the desktop session, Ctrl+C), so that the program can shut down
// in order instead of dying mid-write. Call once, after the application object exists.
void OnTerminationSignal(std::function<void()> handler);
