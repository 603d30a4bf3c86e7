// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOrvixBlockCaller.h"

#include "actions/ActionKinds.h"
#include "actions/NumberBlocking.h"
#include "frontend/UserInterface.h"
#include "model/OrvixLine.h"
#include "telephony/Wildcard.h"
#include "trace/Trace.h"

TActionOrvixBlockCaller::TActionOrvixBlockCaller()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

// Only an incoming call has a caller to block; an outgoing call's number is the
// one the user dialled.
bool TActionOrvixBlockCaller::CanExecuteProvider(const TOrvixLine& line) const
{
    if (line.IsTestMode())
        return true;
    return NumberBlocking() && line.IsOutgoingCall() == 0 && IsLiteralPattern(line.CallerNumber().trimmed());
}

void TActionOrvixBlockCaller::ExecuteAction(TActionContext& context)
{
    TBaseAction::ExecuteAction(context);
    if (context.CancelAction())
        return;
    const std::shared_ptr<TOrvixLine>& snapshot = context.Line();
    // The rule test's caller is made up: blocking it would change the user's rules.
    if (snapshot && snapshot->IsTestMode()) {
        Trace::Message("ActionOrvixBlockCaller::ExecuteAction:test mode: not executed");
        return;
    }
    const QString number = snapshot ? snapshot->CallerNumber() : QString();
    if (!snapshot || !CanExecute(*snapshot)) {
        Trace::Warning("ActionOrvixBlockCaller::ExecuteAction:Caller cannot be blocked", number);
        context.SetActionSuccessfull(false);
        return;
    }
    try {
        if (NumberBlocking()->BlockNumber(number))
            Trace::Value("ActionOrvixBlockCaller::ExecuteAction:Caller blocked", number);
        else
            Trace::Value("ActionOrvixBlockCaller::ExecuteAction:Caller blocked already", number);
    } catch (const std::exception& error) {
        Trace::Exception("ActionOrvixBlockCaller::ExecuteAction", error);
        context.SetActionSuccessfull(false);
        // The user asked for it with a button: a refusal is theirs to see.
        if (TUserInterface* ui = UserInterface())
            ui->ShowNotice(Caption(), QString::fromUtf8(error.what()));
    }
}
