#include "shell/DesktopUserInterface.h"

#include "parameters/ui/InteractionForm.h"

std::unique_ptr<TParameterInteractionForm> TDesktopUserInterface::CreateInteractionForm()
{
    return std::make_unique<TInteractionForm>();
}
