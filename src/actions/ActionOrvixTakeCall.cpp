// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOrvixTakeCall.h"

#include "actions/ActionKinds.h"

#include "model/OrvixLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"
#include "trace/Trace.h"

TActionOrvixTakeCall::TActionOrvixTakeCall()
    : TActionOrvixCallControl(QStringLiteral("ActionOrvixTakeCall"), QStringLiteral("Cannot take call"))
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

bool TActionOrvixTakeCall::CanExecuteOnLine(const TOrvixLine& snapshot, TClientLineMgr& lineMgr) const
{
    // A group call's snapshot stands for no line (index -1): it can be picked
    // up for as long as the softphone still signals it.
    if (snapshot.IsNotificationCall())
        return !lineMgr.DispNotificationCallPeerNumber().isEmpty() || !lineMgr.DispNotificationCallPeerName().isEmpty();
    const auto line = lineMgr.DispGetLine(snapshot.LineIndex());
    return line->DispState() == LSRinging && line->DispCallId() == snapshot.CallId();
}

void TActionOrvixTakeCall::ActOnCall(TActionContext& context, TClientLineMgr& lineMgr)
{
    const TOrvixLine& snapshot = *context.Line();
    if (snapshot.IsNotificationCall()) {
        Trace::Message("ActionOrvixTakeCall::ExecuteAction:Notification Call");
        Trace::Message("ActionOrvixTakeCall::ExecuteAction:Pickup Call");
        lineMgr.DispPickupGroupNotificationCall(snapshot.LineIndex());
        return;
    }
    if (snapshot.IsOutgoingCall() != 0)
        return;
    Trace::Message("ActionOrvixTakeCall::ExecuteAction:Direct Call");
    const auto line = lineMgr.DispGetLine(snapshot.LineIndex());
    switch (line->DispState()) {
    case LSActive:
        Trace::Warning("ActionOrvixTakeCall::ExecuteAction:Active, do not take call");
        break;
    case LSRinging:
        line->DispHookOff();
        break;
    default:
        Trace::Warning("ActionOrvixTakeCall::ExecuteAction:Not ringing, nothing to do");
        break;
    }
}
