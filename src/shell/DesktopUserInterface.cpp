// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/DesktopUserInterface.h"

#include "actions/ui/HtmlMessageForm.h"
#include "actions/ui/PimItemForm.h"
#include "parameters/ui/InteractionForm.h"
#include "program/Program.h"
#include "widgets/MessageBox.h"

TDesktopUserInterface::TDesktopUserInterface(TProgram& program)
    : m_messageWindows(program.NotificationSettings(), [&program] { return program.Model(); })
{
    QObject::connect(&program, &TProgram::NotificationSettingsChanged, &m_messageWindows,
                     &TMessageWindows::SetNotificationSettings);
    m_messageWindows.SetHtmlFormFactory([](const TBaseMessageForm::TModelSource& modelSource) {
        return std::make_unique<THtmlMessageForm>(modelSource);
    });
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

bool TDesktopUserInterface::ShowPimItemWindow(TPimItem& item, const QString& caller, const TPimItemSave& save)
{
    TPimItemForm form(item, caller);
    form.SetSave(save);
    if (form.exec() != QDialog::Accepted)
        return false;
    item = form.Item();
    return true;
}

void TDesktopUserInterface::ShowNotice(const QString& caption, const QString& text)
{
    TMessageBox::Notice(nullptr, caption, text);
}
