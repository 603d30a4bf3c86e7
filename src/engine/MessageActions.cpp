// SPDX-License-Identifier: GPL-3.0-or-later

// Running the message actions: the engine part of the balloon and HTML message
// classes. The windows themselves come through the registered user interface.

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionHTMLMessage.h"
#include "engine/TemplateFilling.h"
#include "frontend/UserInterface.h"
#include "model/BaseParameter.h"
#include "trace/Trace.h"

namespace {

// Opens the window of one run; a failure leaves the action unsuccessful, so a
// stopper after it can react.
void OpenMessageWindow(const TMessageWindowRequest& request, TActionContext& context, QAnyStringView failureTitle)
{
    TUserInterface* ui = UserInterface();
    bool shown = false;
    try {
        shown = ui && ui->ShowMessageWindow(request);
    } catch (const std::exception& error) {
        Trace::Exception(failureTitle, error);
    }
    if (!shown)
        Trace::Error(failureTitle, request.Caption);
    context.SetActionSuccessfull(shown);
}

// A size from the action's text, or the fallback when the text is no number.
int PixelSize(const QString& text, int fallback, QAnyStringView title)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok)
        return value;
    Trace::Warning(title, text);
    return fallback;
}

} // namespace

void TActionBalloonMessage::ExecuteAction(TActionContext& context)
{
    TBaseAction::ExecuteAction(context);
    if (context.CancelAction())
        return;
    bool anyResult = false;
    for (const TParamResult& result : context.ParamResultList())
        anyResult = anyResult || !result.Result.trimmed().isEmpty();
    if (!anyResult) {
        Trace::Message("ActionBalloonMessage::ExecuteAction:No entries found, cancelling action...");
        context.SetCancelAction(true);
        return;
    }
    Trace::Object("ActionBalloonMessage::ExecuteAction:Creating balloon message form", this);
    OpenMessageWindow(WindowRequest(context), context,
                      "ActionBalloonMessage::ExecuteAction:Creating form line manager failed");
}

TMessageWindowRequest TActionBalloonMessage::WindowRequest(const TActionContext& context) const
{
    TMessageWindowRequest request = TActionBaseMessage::WindowRequest(context);
    request.Kind = TMessageWindowRequest::TKind::Balloon;
    for (const TParamResult& result : context.ParamResultList())
        request.Rows.append({result.Parameter ? result.Parameter->Alias() : QString(), result.Result});
    return request;
}

void TActionHTMLMessage::ExecuteAction(TActionContext& context)
{
    TBaseAction::ExecuteAction(context);
    if (context.CancelAction())
        return;
    Trace::Message("ActionHTMLMessage::ExecuteAction:Create or get form");
    OpenMessageWindow(WindowRequest(context), context,
                      "ActionHTMLMessage::ExecuteAction:Creating form line manager failed");
}

TMessageWindowRequest TActionHTMLMessage::WindowRequest(const TActionContext& context) const
{
    TMessageWindowRequest request = TActionBaseMessage::WindowRequest(context);
    request.Kind = TMessageWindowRequest::TKind::Html;
    THtmlMessagePage& page = request.Page;
    page.WebserverUrl = HTMLWebserverUrl();
    page.Template = HTMLTemplate();
    page.ResultList = TemplateResultList(context.ParamResultList());
    page.User = HTMLUser();
    page.Password = HTMLPassword();
    page.DefaultWidth = DefaultWidth();
    page.Width = PixelSize(HTMLMessageWidth(), 370, "ActionHTMLMessage::WindowRequest:Width is no number, using 370");
    page.Height =
        PixelSize(HTMLMessageHeight(), 300, "ActionHTMLMessage::WindowRequest:Height is no number, using 300");
    page.ShowInvisible = ShowInvisible();
    return request;
}
