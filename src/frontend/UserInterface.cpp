// SPDX-License-Identifier: GPL-3.0-or-later

#include "frontend/UserInterface.h"

namespace {

// Set once by the UI at start, read by core on the main thread only.
TUserInterface* g_userInterface = nullptr;

} // namespace

TUserInterface* UserInterface()
{
    return g_userInterface;
}

void SetUserInterface(TUserInterface* ui)
{
    g_userInterface = ui;
}
