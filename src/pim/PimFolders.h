// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

// The folders of the personal-information store: one vdir folder per kind of
// item, one vCard or iCalendar file per item (the layout khard, khal and
// vdirsyncer keep, so a user can hold them in step with a CardDAV/CalDAV server).
enum class TPimFolderKind
{
    Contacts,
    Calendar,
    Journal,
    Tasks,
    Notes,
    // Mails that neither the SMTP server nor the mail program took, one .eml file each.
    MailDrafts,
    // Items whose window the program's end closed before the user saved or
    // discarded them, one iCalendar file each; the next start offers them again.
    ItemDrafts
};

// The settings key whose values name the folders (ContactsFolder, CalendarFolder,
// JournalFolder, TasksFolder, NotesFolder, MailDraftsFolder, ItemDraftsFolder) in the user's settings INI.
constexpr QStringView PimRegistryKey = u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\PIM";

// The value name of the kind's folder in PimRegistryKey ("ContactsFolder" ...).
QString PimFolderValueName(TPimFolderKind kind);
// The folder of the kind: the user's setting (%NAME% references expanded), else
// $XDG_DATA_HOME/kestrun/<contacts|calendar|journal|tasks|notes|mail-drafts|item-drafts> ($XDG_DATA_HOME
// being ~/.local/share when unset or not absolute). Read at each call; the folder
// is not created here.
QString PimFolderPath(TPimFolderKind kind);
