// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/**
 * @brief The start-up steps that belong to the windows, which the program runs
 * in their place among its own (see TProgram::Start).
 *
 * Each step may throw; the program traces the failure and goes on with the next.
 */
class TStartupWindows
{
public:
    virtual ~TStartupWindows() = default;

    // Puts the main window at its place on the primary screen; it stays hidden.
    virtual void PlaceWindow() = 0;
    // Shows the tray icon, the user's way in.
    virtual void ShowTrayIcon() = 0;
    // Makes the lists of open message windows and registers the windows with core.
    virtual void CreateWindowCollections() = 0;
    // Shows the rules of the model in force.
    virtual void ReloadRuleList() = 0;
    // Only on the first start, after the starter rules were seeded: shows the
    // rule list with a word on what to do next.
    virtual void GreetNewUser() = 0;
};
