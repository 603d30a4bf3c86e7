// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "frontend/UserInterface.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

/**
 * Stands in for the program's windows while it lives: registered on
 * construction, removed on destruction. Each question window comes from the
 * test's factory; without one there is none, as in a headless run. Message
 * windows are recorded (shown, preloaded) and "open" as the test says.
 */
class FakeUserInterface : public TUserInterface
{
public:
    using TFormFactory = std::function<std::unique_ptr<TParameterInteractionForm>()>;

    explicit FakeUserInterface(TFormFactory formFactory = {})
        : m_formFactory(std::move(formFactory))
    {
        SetUserInterface(this);
    }
    ~FakeUserInterface() override { SetUserInterface(nullptr); }
    FakeUserInterface(const FakeUserInterface&) = delete;
    FakeUserInterface& operator=(const FakeUserInterface&) = delete;

    void SetFormFactory(TFormFactory formFactory) { m_formFactory = std::move(formFactory); }

    std::unique_ptr<TParameterInteractionForm> CreateInteractionForm() override
    {
        return m_formFactory ? m_formFactory() : nullptr;
    }

    bool ShowMessageWindow(const TMessageWindowRequest& request) override
    {
        shown.push_back(request);
        return opens;
    }
    void PreloadMessageWindow(const TMessageWindowRequest& request) override { preloaded.push_back(request); }
    void CloseMessageWindows() override { ++closeCount; }

    // Records the item; itemWindowEdit may change it as a user typing into the window
    // would, and may end the program meanwhile: CloseMessageWindows while the window is
    // open makes it answer Interrupted with what was typed. Otherwise, with
    // itemWindowAnswer the "user" saves it; a failed save is recorded in
    // saveFailures, and the "user" then closes the window.
    TPimItemOutcome ShowPimItemWindow(TPimItem& item, const TPimItemSave& save) override
    {
        const int closedBefore = closeCount;
        if (itemWindowEdit)
            itemWindowEdit(item);
        itemWindows.push_back({item, item.Contact});
        if (closeCount != closedBefore)
            return TPimItemOutcome::Interrupted;
        if (!itemWindowAnswer)
            return TPimItemOutcome::Discarded;
        const QString failure = save(item);
        if (failure.isEmpty())
            return TPimItemOutcome::Saved;
        saveFailures.append(failure);
        return TPimItemOutcome::Discarded;
    }
    void ShowNotice(const QString& caption, const QString& text) override { notices.push_back({caption, text}); }

    std::vector<TMessageWindowRequest> shown;
    std::vector<TMessageWindowRequest> preloaded;
    int closeCount = 0;
    // What ShowMessageWindow answers.
    bool opens = true;

    struct ItemWindow
    {
        TPimItem item;
        QString caller;
    };
    std::vector<ItemWindow> itemWindows;
    bool itemWindowAnswer = true;
    std::function<void(TPimItem&)> itemWindowEdit;
    QStringList saveFailures;
    struct Notice
    {
        QString caption;
        QString text;
    };
    std::vector<Notice> notices;

private:
    TFormFactory m_formFactory;
};
