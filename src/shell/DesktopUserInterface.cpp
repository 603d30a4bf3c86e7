#include "shell/DesktopUserInterface.h"

#include "parameters/ui/InteractionForm.h"

std::unique_ptr<TParameterInteractionForm> TDesktopUserInterface::CreateInteractionForm()
{
    return std::make_unique<TInteractionForm>();
}

// The notification windows come in the next steps; until then a message action
// reports that its window did not open.
bool TDesktopUserInterface::ShowMessageWindow(const TMessageWindowRequest& /*request*/)
{
    return false;
}

void TDesktopUserInterface::PreloadMessageWindow(const TMessageWindowRequest& /*request*/) { }

void TDesktopUserInterface::CloseMessageWindows() { }
