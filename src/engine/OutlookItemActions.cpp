// SPDX-License-Identifier: GPL-3.0-or-later

// Running the item actions: the engine part of the note, journal, appointment,
// task and contact action classes. The item window comes through the registered
// user interface; the item goes into the store only when the user saves it, and
// into the drafts when the program ends while its window is open.

#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookItems.h"
#include "engine/PimItemEditing.h"
#include "engine/TemplateFilling.h"
#include "frontend/UserInterface.h"
#include "model/OrvixLine.h"
#include "trace/Trace.h"

namespace {

// An appointment made during a call lasts half an hour until the user says otherwise.
constexpr int AppointmentMinutes = 30;
constexpr int SubjectMaxLength = 255;

// The call as the item window's title names it: "Anna Berg (+49301234567)".
QString CallerText(const TOrvixLine* line)
{
    if (!line)
        return {};
    const QString name = line->CallerName().trimmed();
    const QString number = line->CallerNumber().trimmed();
    if (name.isEmpty() || number.isEmpty())
        return name + number;
    return name + QStringLiteral(" (") + number + u')';
}

// The text's first line that holds anything: the item's subject, as a note takes its first line.
QString FirstLine(const QString& text)
{
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QString trimmed = line.trimmed().toString();
        if (!trimmed.isEmpty())
            return trimmed.left(SubjectMaxLength);
    }
    return {};
}

TPimItem NewItem(TPimItemKind kind, const QString& text, const QString& caller)
{
    TPimItem item;
    item.Kind = kind;
    item.Contact = caller;
    item.Subject = FirstLine(text);
    item.Body = text;
    const QDateTime now = QDateTime::currentDateTime();
    if (kind == TPimItemKind::Journal || kind == TPimItemKind::Appointment)
        item.Start = now;
    if (kind == TPimItemKind::Appointment)
        item.End = now.addSecs(qint64 {AppointmentMinutes} * 60);
    return item;
}

} // namespace

void TActionOutlookBase::ExecuteAction(TActionContext& context)
{
    const TraceMethod method(QStringLiteral("TAction_OutlookBase::ExecuteAction"));
    TBaseAction::ExecuteAction(context);
}

void TActionOutlookBase::ExecuteItemAction(TActionContext& context, TPimItemKind kind, const TItemActionTitles& titles)
{
    const TraceMethod method(titles.Method.toString());
    TActionOutlookBase::ExecuteAction(context);
    if (context.CancelAction()) {
        Trace::Message(titles.Cancel);
        return;
    }

    QString text;
    if (FTemplateActive) {
        Trace::Message(titles.Template);
        // A new action names no template yet; its item starts empty rather than failing.
        if (FTemplate.trimmed().isEmpty())
            Trace::Warning(titles.Template, QStringLiteral("No template file named, the text stays empty"));
        else
            text = HandleTemplate(FTemplate, context, TTemplateFiller::OutlookBase);
    }
    TPimItem item = NewItem(kind, text, CallerText(context.Line().get()));

    Trace::Message(titles.Open);
    TUserInterface* ui = UserInterface();
    if (!ui) {
        Trace::Error(titles.Open, QStringLiteral("No window can show the item; nothing was made"));
        context.SetActionSuccessfull(false);
        return;
    }
    // A save that failed and then a closed window: the action did not do its work.
    if (EditPimItem(*ui, item, titles.Open.toString()).SaveFailed)
        context.SetActionSuccessfull(false);
}

void TActionOutlookNote::ExecuteAction(TActionContext& context)
{
    ExecuteItemAction(context, TPimItemKind::Note,
                      {"TActionOutlookNote::ExecuteAction", "TActionOutlookNote::ExecuteAction: CancelAction",
                       "TActionOutlookJournal::ExecuteAction: Use Template",
                       "TActionOutlookNote::ExecuteAction: Open Note"});
}

void TActionOutlookJournal::ExecuteAction(TActionContext& context)
{
    ExecuteItemAction(context, TPimItemKind::Journal,
                      {"TActionOutlookJournal::ExecuteAction", "TActionOutlookJournal::ExecuteAction: CancelAction",
                       "TActionOutlookJournal::ExecuteAction: Use Template",
                       "TActionOutlookJournal::ExecuteAction: Open Journal"});
}

void TActionOutlookCalendar::ExecuteAction(TActionContext& context)
{
    ExecuteItemAction(context, TPimItemKind::Appointment,
                      {"TActionOutlookCalendar::ExecuteAction", "TActionOutlookCalendar::ExecuteAction: CancelAction",
                       "TActionOutlookJournal::ExecuteAction: Use Template",
                       "TActionOutlookCalendar::ExecuteAction: Open Calendar"});
}

void TActionOutlookTask::ExecuteAction(TActionContext& context)
{
    ExecuteItemAction(context, TPimItemKind::Task,
                      {"TActionOutlookTask::ExecuteAction", "TActionOutlookTask::ExecuteAction: CancelAction",
                       "TActionOutlookTask::ExecuteAction: Use Template",
                       "TActionOutlookTask::ExecuteAction: Open Task"});
}

void TActionOutlookContact::ExecuteAction(TActionContext& context)
{
    context.KeepPreviousOutcome();
    Trace::Warning("TActionOutlookContact::ExecuteAction", QStringLiteral("Contacts are not created; nothing done"));
}
