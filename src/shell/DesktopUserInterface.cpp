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
    // Each window's action keeps what the user typed once the window's loop has ended.
    for (const QPointer<TPimItemForm>& form : std::as_const(m_itemForms)) {
        if (form)
            form->Interrupt();
    }
}

TUserInterface::TPimItemOutcome TDesktopUserInterface::ShowPimItemWindow(TPimItem& item, const TPimItemSave& save)
{
    TPimItemForm form(item);
    form.SetSave(save);
    m_itemForms.append(&form);
    form.exec();
    m_itemForms.removeAll(&form);
    const TPimItemOutcome outcome = form.Outcome();
    if (outcome != TPimItemOutcome::Discarded)
        item = form.Item();
    return outcome;
}

void TDesktopUserInterface::ShowNotice(const QString& caption, const QString& text)
{
    TMessageBox::Notice(nullptr, caption, text);
}
