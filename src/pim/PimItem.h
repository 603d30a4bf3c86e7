// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QString>

// The kinds of item the item actions open; each is kept in its own folder of the store.
enum class TPimItemKind
{
    Note,
    Journal,
    Appointment,
    Task
};

/**
 * @brief A note, journal entry, appointment or task of the personal-information
 * store, as the item actions fill it and the item window lets the user complete it.
 *
 * Notes and journal entries are iCalendar VJOURNAL components, appointments
 * VEVENT and tasks VTODO; Uid names the item's file in its folder.
 */
struct TPimItem
{
    TPimItemKind Kind = TPimItemKind::Note;
    QString Uid;
    QString Subject;
    QString Body;
    // Whom the item is about: the call's caller as the item window's title names
    // them ("Anna Berg (+49301234567)"), empty for none. iCalendar CONTACT.
    QString Contact;
    // When it happens: the journal entry's date, the appointment's start, the task's start (may be unset).
    QDateTime Start;
    // The appointment's end.
    QDateTime End;
    // The task's due time (may be unset).
    QDateTime Due;
    // The task is done.
    bool Completed = false;

    bool operator==(const TPimItem&) const = default;
};
