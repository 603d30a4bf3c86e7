// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/PimItemFile.h"

#include "platform/AtomicFile.h"
#include "platform/KestrunError.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <libical/ical.h>

#include <memory>
#include <optional>

namespace {

struct TComponentFree
{
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using TComponentPtr = std::unique_ptr<icalcomponent, TComponentFree>;

struct TCharFree
{
    void operator()(char* text) const { icalmemory_free_buffer(text); }
};

QByteArray Utf8(const QString& text)
{
    return text.toUtf8();
}

QString Text(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

icaltimetype IcalUtcTime(const QDateTime& time)
{
    return icaltime_from_timet_with_zone(static_cast<time_t>(time.toSecsSinceEpoch()), 0,
                                         icaltimezone_get_utc_timezone());
}

// A time as the file states it: UTC, a named zone the parser knows, or floating (local).
QDateTime QtTime(const icaltimetype& time)
{
    if (icaltime_is_null_time(time))
        return {};
    if (time.is_date)
        return QDateTime(QDate(time.year, time.month, time.day), QTime(0, 0));
    if (const icaltimezone* zone = icaltime_get_timezone(time))
        return QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(time, zone));
    return QDateTime(QDate(time.year, time.month, time.day), QTime(time.hour, time.minute, time.second));
}

icalcomponent_kind ComponentKind(TPimItemKind kind)
{
    switch (kind) {
    case TPimItemKind::Note:
    case TPimItemKind::Journal:
        return ICAL_VJOURNAL_COMPONENT;
    case TPimItemKind::Appointment:
        return ICAL_VEVENT_COMPONENT;
    case TPimItemKind::Task:
        return ICAL_VTODO_COMPONENT;
    }
    return ICAL_NO_COMPONENT;
}

// The item's component with the properties its kind has.
icalcomponent* NewComponent(const TPimItem& item)
{
    icalcomponent* component = icalcomponent_new(ComponentKind(item.Kind));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    icalcomponent_add_property(component, icalproperty_new_uid(Utf8(item.Uid).constData()));
    icalcomponent_add_property(component, icalproperty_new_dtstamp(IcalUtcTime(now)));
    icalcomponent_add_property(component, icalproperty_new_created(IcalUtcTime(now)));
    icalcomponent_add_property(component, icalproperty_new_summary(Utf8(item.Subject).constData()));
    if (!item.Body.isEmpty())
        icalcomponent_add_property(component, icalproperty_new_description(Utf8(item.Body).constData()));
    if (!item.Contact.isEmpty())
        icalcomponent_add_property(component, icalproperty_new_contact(Utf8(item.Contact).constData()));
    if (item.Start.isValid() && item.Kind != TPimItemKind::Note)
        icalcomponent_add_property(component, icalproperty_new_dtstart(IcalUtcTime(item.Start)));
    switch (item.Kind) {
    case TPimItemKind::Note:
    case TPimItemKind::Journal:
        icalcomponent_add_property(component, icalproperty_new_status(ICAL_STATUS_FINAL));
        break;
    case TPimItemKind::Appointment:
        if (item.End.isValid() && item.End >= item.Start)
            icalcomponent_add_property(component, icalproperty_new_dtend(IcalUtcTime(item.End)));
        break;
    case TPimItemKind::Task:
        if (item.Due.isValid())
            icalcomponent_add_property(component, icalproperty_new_due(IcalUtcTime(item.Due)));
        icalcomponent_add_property(
            component, icalproperty_new_status(item.Completed ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
        if (item.Completed)
            icalcomponent_add_property(component, icalproperty_new_completed(IcalUtcTime(now)));
        break;
    }
    return component;
}

QByteArray CalendarText(const TPimItem& item)
{
    TComponentPtr calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Kestrun//Event Controller for OrvixIt!//DE"));
    icalcomponent_add_component(calendar.get(), NewComponent(item));
    const std::unique_ptr<char, TCharFree> text(icalcomponent_as_ical_string_r(calendar.get()));
    return text ? QByteArray(text.get()) : QByteArray();
}

// UIDs are ours or the user's; the file name keeps only what is safe in a path.
QString FileNameOf(const QString& uid)
{
    QString name;
    for (const QChar c : uid)
        name += c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.' || c == u'@' ? c : u'_';
    return name + QStringLiteral(".ics");
}

std::optional<TPimItemKind> ItemKind(icalcomponent* component)
{
    switch (icalcomponent_isa(component)) {
    case ICAL_VJOURNAL_COMPONENT:
        return icaltime_is_null_time(icalcomponent_get_dtstart(component)) ? TPimItemKind::Note : TPimItemKind::Journal;
    case ICAL_VEVENT_COMPONENT:
        return TPimItemKind::Appointment;
    case ICAL_VTODO_COMPONENT:
        return TPimItemKind::Task;
    default:
        return std::nullopt;
    }
}

TPimItem ItemOf(icalcomponent* component, TPimItemKind kind)
{
    TPimItem item;
    item.Kind = kind;
    item.Uid = Text(icalcomponent_get_uid(component));
    item.Subject = Text(icalcomponent_get_summary(component));
    item.Body = Text(icalcomponent_get_description(component));
    if (icalproperty* contact = icalcomponent_get_first_property(component, ICAL_CONTACT_PROPERTY))
        item.Contact = Text(icalproperty_get_contact(contact));
    item.Start = QtTime(icalcomponent_get_dtstart(component));
    if (kind == TPimItemKind::Appointment)
        item.End = QtTime(icalcomponent_get_dtend(component));
    if (kind == TPimItemKind::Task) {
        item.Due = QtTime(icalcomponent_get_due(component));
        item.Completed = icalcomponent_get_status(component) == ICAL_STATUS_COMPLETED;
    }
    return item;
}

} // namespace

TPimFolderKind PimItemFolderKind(TPimItemKind kind)
{
    switch (kind) {
    case TPimItemKind::Note:
        return TPimFolderKind::Notes;
    case TPimItemKind::Journal:
        return TPimFolderKind::Journal;
    case TPimItemKind::Appointment:
        return TPimFolderKind::Calendar;
    case TPimItemKind::Task:
        return TPimFolderKind::Tasks;
    }
    return TPimFolderKind::Notes;
}

QString WritePimItem(TPimItem& item, const QString& folder)
{
    // iCalendar text knows one line break; a template written on Windows brings CR LF.
    for (QString* text : {&item.Subject, &item.Body, &item.Contact})
        text->replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (item.Uid.isEmpty())
        item.Uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!QDir().mkpath(folder))
        throw EKestrunError(QStringLiteral("The folder \"%1\" cannot be made").arg(folder));
    QString path = QDir(folder).filePath(FileNameOf(item.Uid));
    const QByteArray text = CalendarText(item);
    if (text.isEmpty())
        throw EKestrunError(QStringLiteral("The item \"%1\" cannot be written: it has no text").arg(path));
    WriteFileAtomically(path, text);
    return path;
}

TPimItem ReadPimItem(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKestrunError(QStringLiteral("The item \"%1\" cannot be read: %2").arg(path, file.errorString()));
    const QByteArray text = file.readAll();
    const TComponentPtr calendar(icalparser_parse_string(text.constData()));
    if (icalcomponent* root = calendar.get()) {
        // A file may hold the component itself instead of a calendar around it.
        if (const auto kind = ItemKind(root))
            return ItemOf(root, *kind);
        for (icalcomponent* component = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); component;
             component = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT)) {
            if (const auto kind = ItemKind(component))
                return ItemOf(component, *kind);
        }
    }
    throw EKestrunError(QStringLiteral("The file \"%1\" holds no note, journal entry, appointment or task").arg(path));
}
