// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionKinds.h"

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionDDEMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOpenDocument.h"
#include "actions/ActionOrvixBlockCaller.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOrvixEndCall.h"
#include "actions/ActionOrvixTakeCall.h"
#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"

#include <array>
#include <stdexcept>

namespace {

template <typename T>
TActionKind Kind(std::string_view identifier, const QString& caption, QStringView icon, const QString& group, int place,
                 TActionDialog dialog, const QString& dialogCaption)
{
    return {&T::staticMetaObject, identifier, caption, icon, group, place, dialog, dialogCaption, [] {
                return std::unique_ptr<TBaseAction>(std::make_unique<T>());
            }};
}

QString Notifications()
{
    return QStringLiteral("Benachrichtigungen");
}
QString Orvix()
{
    return QStringLiteral("Orvix");
}

QString PimAndMail()
{
    return QStringLiteral("E-Mail und Organizer");
}

// The two bases of several kinds (TActionBaseMessage, TActionOutlookBase) are no
// kinds: files never hold them and nobody makes one.
const std::array<TActionKind, 17>& Table()
{
    static const std::array<TActionKind, 17> table {
        Kind<TActionExecuteProgram>("baExecuteProgram", QStringLiteral("Program starten"), u"terminal", QString(), 1,
                                    TActionDialog::ProgramOrDocument, QStringLiteral("Aktion definieren")),
        Kind<TActionOpenDocument>("baOpenDoc", QStringLiteral("Document öffnen"), u"description", QString(), 2,
                                  TActionDialog::ProgramOrDocument, QStringLiteral("Aktion definieren")),
        Kind<TActionDDEMessage>("baDDE", QStringLiteral("DDE-Nachricht senden"), u"settings_ethernet", QString(), 3,
                                TActionDialog::CommandChannel, QStringLiteral("DDE Aktion definieren")),
        Kind<TActionSendEMail>("baSendEMail", QStringLiteral("E-Mail senden"), u"send", PimAndMail(), 6,
                               TActionDialog::EMail, QStringLiteral("E-Mail senden")),
        Kind<TActionBalloonMessage>("baShowBalloonMessage", QStringLiteral("Standard-Nachricht anzeigen"), u"message",
                                    Notifications(), 4, TActionDialog::BalloonMessage,
                                    QStringLiteral("Standard-Benachrichtigung")),
        Kind<TActionHTMLMessage>("baShowHtmlMessage", QStringLiteral("HTML-Nachricht anzeigen"), u"reviews",
                                 Notifications(), 5, TActionDialog::HtmlMessage, QStringLiteral("HTML-Benachrichtung")),
        Kind<TActionOutlookSendMail>("baOutlookEMail", QStringLiteral("Outlook E-Mail senden"), u"mail", PimAndMail(),
                                     7, TActionDialog::EMail, QStringLiteral("E-Mail senden")),
        Kind<TActionOutlookJournal>("baOutlookJournal", QStringLiteral("Journaleintrag erstellen"), u"work_history",
                                    PimAndMail(), 9, TActionDialog::PimItem,
                                    QStringLiteral("Outlook Journal-Eintrag erzeugen")),
        Kind<TActionOutlookCalendar>("baOutlookCalendar", QStringLiteral("Kalendereintrag erstellen"),
                                     u"calendar_month", PimAndMail(), 10, TActionDialog::PimItem,
                                     QStringLiteral("Outlook Kalendereintrag erzeugen")),
        Kind<TActionOutlookNote>("baOutlookNote", QStringLiteral("Notiz erstellen"), u"note_alt", PimAndMail(), 8,
                                 TActionDialog::PimItem, QStringLiteral("Outlook Notiz erzeugen")),
        Kind<TActionOutlookTask>("baOutlookTask", QStringLiteral("Aufgabe erstellen"), u"task", PimAndMail(), 11,
                                 TActionDialog::PimItem, QStringLiteral("Outlook Aufgabe erzeugen")),
        Kind<TActionOutlookContact>("baOutlookContact", QStringLiteral("Kontakt erstellen"), u"contact_mail", QString(),
                                    0, TActionDialog::None, QString()),
        Kind<TActionStopper>("baStopper", QStringLiteral("Aktions-Stopper"), u"do_not_disturb_on", QString(), 16,
                             TActionDialog::Stopper, QStringLiteral("Aktionsstopper definieren")),
        Kind<TActionOrvixTakeCall>("baOrvixTakeCall", QStringLiteral("Ruf annehmen"), u"add_ic_call", Orvix(), 12,
                                   TActionDialog::CaptionOnly, QStringLiteral("Gespräch annehmen")),
        Kind<TActionOrvixEndCall>("baOrvixEndCall", QStringLiteral("Ruf beenden"), u"call_end", Orvix(), 13,
                                  TActionDialog::CaptionOnly, QStringLiteral("Gespräch beenden")),
        Kind<TActionOrvixDTMF>("baOrvixDTMF", QStringLiteral("DTMF senden"), u"dialpad", Orvix(), 14,
                               TActionDialog::Dtmf, QStringLiteral("DTMF senden")),
        Kind<TActionOrvixBlockCaller>("baOrvixBlockCaller", QStringLiteral("Anrufer sperren"), u"block", Orvix(), 15,
                                      TActionDialog::CaptionOnly, QStringLiteral("Anrufer sperren")),
    };
    return table;
}

} // namespace

std::span<const TActionKind> ActionKinds()
{
    return Table();
}

const TActionKind* FindActionKind(const QMetaObject& meta)
{
    for (const TActionKind& kind : Table()) {
        if (kind.Class == &meta)
            return &kind;
    }
    return nullptr;
}

const TActionKind* FindActionKind(const TBaseAction& action)
{
    return FindActionKind(*action.metaObject());
}

const TActionKind& ActionKindOf(const QMetaObject& meta)
{
    if (const TActionKind* kind = FindActionKind(meta))
        return *kind;
    throw std::logic_error(std::string("No action kind for class ") + meta.className());
}

std::span<const TActionPaletteGroup> ActionPaletteGroups()
{
    static const std::array<TActionPaletteGroup, 3> groups {
        {{Notifications(), u"info"}, {PimAndMail(), u"mail"}, {Orvix(), u"call"}}};
    return groups;
}
