#include "actions/ActionOutlookItems.h"

TActionOutlookNote::TActionOutlookNote()
{
    SetCaptionAndIcon(QStringLiteral("Notiz erstellen"), u"note_alt");
}

TActionOutlookJournal::TActionOutlookJournal()
{
    SetCaptionAndIcon(QStringLiteral("Journaleintrag erstellen"), u"work_history");
}

TActionOutlookCalendar::TActionOutlookCalendar()
{
    SetCaptionAndIcon(QStringLiteral("Kalendereintrag erstellen"), u"calendar_month");
}

TActionOutlookTask::TActionOutlookTask()
{
    SetCaptionAndIcon(QStringLiteral("Aufgabe erstellen"), u"task");
}
