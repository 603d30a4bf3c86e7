// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionBaseMessage.h"

#include "trace/Trace.h"

TActionBaseMessage::TActionBaseMessage()
{
    SetCaptionAndIcon(QStringLiteral("Nachricht anzeigen"), u"message");
}

TMessageWindowRequest TActionBaseMessage::WindowRequest(const TActionContext& context) const
{
    TMessageWindowRequest request;
    request.ActionID = ID();
    request.Caption = Caption();
    request.TimeOut = TimeOut();
    request.TimeOutSec = TimeOutSec();
    if (request.TimeOutSec < 0) {
        Trace::Warning("ActionBaseMessage::WindowRequest:Time-out not set, using 5 seconds",
                       QString::number(request.TimeOutSec));
        request.TimeOutSec = 5;
    } else if (request.TimeOutSec > TMessageWindowRequest::MaxTimeOutSec) {
        Trace::Warning("ActionBaseMessage::WindowRequest:Time-out too long, clamped",
                       QString::number(request.TimeOutSec));
        request.TimeOutSec = TMessageWindowRequest::MaxTimeOutSec;
    }
    request.SequenceIDs = AssociatedActionSequences();
    request.Line = context.Line();
    return request;
}
