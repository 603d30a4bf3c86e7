// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOpenDocument.h"

#include "actions/ActionKinds.h"

#include "platform/DocumentOpener.h"
#include "trace/Trace.h"

TActionOpenDocument::TActionOpenDocument()
{
    const TActionKind& kind = ActionKindOf(staticMetaObject);
    SetCaptionAndIcon(kind.Caption, kind.IconName);
}

QString TActionOpenDocument::GetDescription() const
{
    return QStringLiteral("Öffne: ") + FDocPath;
}

void TActionOpenDocument::ExecuteAction(TActionContext& context)
{
    TBaseAction::ExecuteAction(context);
    if (context.CancelAction())
        return;

    // Call data in the arguments is never expanded: a caller named %HOME% must not
    // read the program's environment out.
    QString arguments;
    for (const TParamResult& result : context.ParamResultList())
        arguments += result.Result + QLatin1Char(' ');
    Trace::Value("ActionOpenDocument::ExecuteAction:Command line parameters", arguments);
    // The desktop opens a document by its type alone and takes no arguments for it.
    if (!arguments.isEmpty())
        Trace::Warning("ActionOpenDocument::ExecuteAction:Parameters are not passed to the document", arguments);
    Trace::Message("ActionOpenDocument::ExecuteAction:Opening document");
    QString error;
    if (!OpenDocument(FDocPath, &error)) {
        Trace::Error("ActionOpenDocument::ExecuteAction:Document could not be opened", error);
        context.SetActionSuccessfull(false);
    }
}
