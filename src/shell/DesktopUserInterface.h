#pragma once

#include "frontend/UserInterface.h"

/**
 * @brief The program's windows as core gets them: registered once at start,
 * once the application object exists.
 */
class TDesktopUserInterface : public TUserInterface
{
public:
    std::unique_ptr<TParameterInteractionForm> CreateInteractionForm() override;
    bool ShowMessageWindow(const TMessageWindowRequest& request) override;
    void PreloadMessageWindow(const TMessageWindowRequest& request) override;
    void CloseMessageWindows() override;
};
