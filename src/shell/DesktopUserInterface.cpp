#include "shell/DesktopUserInterface.h"

#include "parameters/ui/InteractionForm.h"
#include "program/Program.h"

TDesktopUserInterface::TDesktopUserInterface(TProgram& program)
    : m_messageWindows(program.NotificationSettings(), [&program] { return program.Model(); })
{
    QObject::connect(&program, &TProgram::NotificationSettingsChanged, &m_messageWindows,
                     &TMessageWindows::SetNotificationSettings);
}

std::unique_ptr<TParameterInteractionForm> TDesktopUserInterface::CreateInteractionForm()
{
    return std::make_unique<TInteractionForm>();
}

bool TDesktopUserInterface::ShowMessageWindow(const TMessageWindowRequest& request)
{
    return m_messageWindows.Show(request);
}

void TDesktopUserInterface::PreloadMessageWindow(const TMessageWindowRequest& request)
{
    m_messageWindows.Preload(request);
}

void TDesktopUserInterface::CloseMessageWindows()
{
    m_messageWindows.CloseAll();
}
