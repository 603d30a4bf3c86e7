// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOrvixEndCall.h"

#include "actions/ActionKinds.h"

#include "model/OrvixLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"
#include "trace/Trace.h"

TActionOrvixEndCall::TActionOrvixEndCall()
    : TActionOrvixCallControl(QStringLiteral("ActionOrvixEndCall"), QStringLiteral("Cannot end call"))
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

// Not while the remote party's phone rings (alerting): the softphone offers no
// hang-up there that the user would expect from this button.
bool TActionOrvixEndCall::CanExecuteOnLine(const TOrvixLine& snapshot, TClientLineMgr& lineMgr) const
{
    const auto line = lineMgr.DispGetLine(snapshot.LineIndex());
    const int state = line->DispState();
    // A call that rings here is ended too: that is how the user (or the rule "Gesperrte Nummern")
    // rejects it.
    return line->DispCallId() == snapshot.CallId() && (state == LSActive || state == LSDialing || state == LSRinging);
}

void TActionOrvixEndCall::ActOnCall(TActionContext& context, TClientLineMgr& lineMgr)
{
    Trace::Message("ActionOrvixEndCall::ExecuteAction:Ending call...");
    lineMgr.DispGetLine(context.Line()->LineIndex())->DispHookOn();
}
