// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ui/MessageWindows.h"
#include "frontend/UserInterface.h"

#include <QList>
#include <QPointer>

class TPimItemForm;
class TProgram;

/**
 * @brief The program's windows as core gets them: registered once at start,
 * once the application object and the program exist. The notification
 * windows take the program's notification settings (following their changes)
 * and run their buttons with the model in force at the moment of the click.
 */
class TDesktopUserInterface : public TUserInterface
{
public:
    explicit TDesktopUserInterface(TProgram& program);

    std::unique_ptr<TParameterInteractionForm> CreateInteractionForm() override;
    bool ShowMessageWindow(const TMessageWindowRequest& request) override;
    void PreloadMessageWindow(const TMessageWindowRequest& request) override;
    void CloseMessageWindows() override;
    TPimItemOutcome ShowPimItemWindow(TPimItem& item, const TPimItemSave& save) override;
    void ShowNotice(const QString& caption, const QString& text) override;

    TMessageWindows& MessageWindows() { return m_messageWindows; }

private:
    TMessageWindows m_messageWindows;
    // The item windows open now, innermost last.
    QList<QPointer<TPimItemForm>> m_itemForms;
};
