// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/MessageWindowRequest.h"
#include "frontend/ParameterInteractionForm.h"
#include "pim/PimItem.h"

#include <functional>
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
    // Closes every message window (at shutdown; preloaded ones included) and every
    // item window, which then answers TPimItemOutcome::Interrupted.
    virtual void CloseMessageWindows() = 0;

    // Writes an item the user confirmed; returns why it could not, empty when it was saved.
    using TPimItemSave = std::function<QString(const TPimItem& item)>;
    enum class TPimItemOutcome
    {
        // The user saved the item.
        Saved,
        // The user closed the window without saving.
        Discarded,
        // The program's end closed the window before the user decided.
        Interrupted
    };
    // Shows a new item of the store, prefilled, for the user to complete, and waits
    // until the window closes (line notifications queue meanwhile, as during any
    // modal window). "Speichern" hands the item to save; when that fails the window
    // says why and stays open, so that nothing typed is lost. When the item was saved
    // or the window interrupted, item then holds what the user entered. The window's
    // title names the kind and the item's Contact.
    virtual TPimItemOutcome ShowPimItemWindow(TPimItem& item, const TPimItemSave& save) = 0;
    // Tells the user something that needs no answer, without waiting for it
    // (a mail went out without some of its attachments).
    virtual void ShowNotice(const QString& caption, const QString& text) = 0;
};

// The registered interface, or null when there is none.
TUserInterface* UserInterface();
// Registers ui (not owned: it outlives its registration); null removes it.
void SetUserInterface(TUserInterface* ui);
