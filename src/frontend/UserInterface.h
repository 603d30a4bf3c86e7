// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/MessageWindowRequest.h"
#include "frontend/ParameterInteractionForm.h"
#include "pim/PimItem.h"

#include <memory>

/**
 * @brief What core asks of the program's windows.
 *
 * Core never includes a widgets header: every window it needs comes through
 * this one interface, which the UI registers once at start and tests replace
 * with a fake. Without one (a program or test without windows) core goes
 * without: a question to the user yields nothing and no message is shown.
 */
class TUserInterface
{
public:
    virtual ~TUserInterface() = default;

    // A new question window for an interaction parameter, one per question.
    virtual std::unique_ptr<TParameterInteractionForm> CreateInteractionForm() = 0;

    // Shows a notification window for a message action (an HTML message whose
    // window exists already shows that one again with the new call). False when
    // the window could not be opened.
    virtual bool ShowMessageWindow(const TMessageWindowRequest& request) = 0;
    // Makes the hidden window of an HTML message marked for preloading and loads
    // its page, so that its first call shows it without delay.
    virtual void PreloadMessageWindow(const TMessageWindowRequest& request) = 0;
    // Closes every message window (at shutdown; preloaded ones included).
    virtual void CloseMessageWindows() = 0;

    // Shows a new item of the store, prefilled, for the user to complete, and waits
    // until the user closes it (line notifications queue meanwhile, as during any
    // modal window). True when the user saved it: item then holds what the user
    // entered. caller names the call the item is about (for the window's title).
    virtual bool ShowPimItemWindow(TPimItem& item, const QString& caller) = 0;
    // Tells the user something that needs no answer, without waiting for it
    // (a mail went out without some of its attachments).
    virtual void ShowNotice(const QString& caption, const QString& text) = 0;
};

// The registered interface, or null when there is none.
TUserInterface* UserInterface();
// Registers ui (not owned: it outlives its registration); null removes it.
void SetUserInterface(TUserInterface* ui);
