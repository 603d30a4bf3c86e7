// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionDDEMessage.h"

#include "actions/ActionKinds.h"

#include "actions/CommandChannel.h"
#include "trace/Trace.h"

TActionDDEMessage::TActionDDEMessage()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TActionDDEMessage::GetDescription() const
{
    return QStringLiteral("Anw.: ") + FDDEService + QStringLiteral(" Thema: ") + FDDETopic;
}

void TActionDDEMessage::ExecuteAction(TActionContext& context)
{
    TBaseAction::ExecuteAction(context);
    if (context.CancelAction())
        return;

    QString message;
    for (const TParamResult& result : context.ParamResultList())
        message += result.Result;
    Trace::Value("ActionDDEMessage::ExecuteAction:Service", FDDEService);
    Trace::Value("ActionDDEMessage::ExecuteAction:Topic", FDDETopic);
    Trace::Value("ActionDDEMessage::ExecuteAction:Message", message);

    TCommandChannel channel(FDDEService, FDDETopic);
    if (!channel.Link()) {
        Trace::Error("ActionDDEMessage::ExecuteAction:Service not reachable", channel.LinkError());
        context.SetActionSuccessfull(false);
        return;
    }
    Trace::Message("ActionDDEMessage::ExecuteAction:Sending DDE Message");
    const bool sent = channel.Send(message);
    if (sent)
        Trace::Message("TDDEMessage::ExecuteAction:Message sent");
    else
        Trace::Error("ActionDDEMessage::ExecuteAction:Message could not sent", channel.SendError());
    context.SetActionSuccessfull(sent);
}
