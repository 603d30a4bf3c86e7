// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOrvixDTMF.h"

#include "actions/ActionKinds.h"

#include "model/OrvixLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineEvents.h"
#include "trace/Trace.h"

#include <algorithm>

TActionOrvixDTMF::TActionOrvixDTMF()
    : TActionOrvixCallControl(QStringLiteral("ActionOrvixDTMF"), QStringLiteral("Cannot send DTMF"))
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TActionOrvixDTMF::GetDescription() const
{
    return QStringLiteral("DTMF ") + FDtmfSigns + QStringLiteral(" senden");
}

bool TActionOrvixDTMF::IsValidDtmfSigns(QStringView signs)
{
    return !signs.isEmpty() && std::all_of(signs.begin(), signs.end(), [](QChar sign) {
        return (sign >= u'0' && sign <= u'9') || sign == u'*' || sign == u'#' || (sign >= u'A' && sign <= u'D');
    });
}

bool TActionOrvixDTMF::CanExecuteOnLine(const TOrvixLine& snapshot, TClientLineMgr& lineMgr) const
{
    const auto line = lineMgr.DispGetLine(snapshot.LineIndex());
    return line->DispState() == LSActive && line->DispCallId() == snapshot.CallId();
}

void TActionOrvixDTMF::ActOnCall(TActionContext& context, TClientLineMgr& lineMgr)
{
    // Rules files are edited by hand too; the softphone would refuse such a string in the middle of the call.
    if (!IsValidDtmfSigns(FDtmfSigns)) {
        Trace::Error("ActionOrvixDTMF::ExecuteAction:Invalid DTMF signs", FDtmfSigns);
        context.SetActionSuccessfull(false);
        return;
    }
    // The title carries the end-call prefix: support searches for it in that form.
    Trace::Value("ActionOrvixEndCall::ExecuteAction:Sending DTMF", FDtmfSigns);
    lineMgr.DispGetLine(context.Line()->LineIndex())->DispDial(FDtmfSigns);
}
