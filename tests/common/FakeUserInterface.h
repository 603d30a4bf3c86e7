#pragma once

#include "frontend/UserInterface.h"

#include <functional>
#include <memory>
#include <utility>

/**
 * Stands in for the program's windows while it lives: registered on
 * construction, removed on destruction. Each question window comes from the
 * test's factory; without one there is none, as in a headless run.
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

private:
    TFormFactory m_formFactory;
};
