// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionDDEMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOpenDocument.h"
#include "actions/ActionOrvixBlockCaller.h"
#include "actions/ActionOrvixCallControl.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOrvixEndCall.h"
#include "actions/ActionOrvixTakeCall.h"
#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/IconList.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct ActionCase
{
    std::function<std::unique_ptr<TBaseAction>()> make;
    QString caption;
    QString icon;
};

template <typename T>
std::function<std::unique_ptr<TBaseAction>()> Make()
{
    return [] { return std::make_unique<T>(); };
}

} // namespace

TEST(ClassDefaults, ActionsCarryCaptionAndIcon)
{
    const std::vector<ActionCase> cases {
        {Make<TActionExecuteProgram>(), QStringLiteral("Program starten"), QStringLiteral("terminal")},
        {Make<TActionOpenDocument>(), QStringLiteral("Document öffnen"), QStringLiteral("description")},
        {Make<TActionDDEMessage>(), QStringLiteral("DDE-Nachricht senden"), QStringLiteral("settings_ethernet")},
        {Make<TActionSendEMail>(), QStringLiteral("E-Mail senden"), QStringLiteral("send")},
        {Make<TActionBalloonMessage>(), QStringLiteral("Standard-Nachricht anzeigen"), QStringLiteral("message")},
        {Make<TActionHTMLMessage>(), QStringLiteral("HTML-Nachricht anzeigen"), QStringLiteral("reviews")},
        {Make<TActionOutlookSendMail>(), QStringLiteral("Outlook E-Mail senden"), QStringLiteral("mail")},
        {Make<TActionOutlookJournal>(), QStringLiteral("Journaleintrag erstellen"), QStringLiteral("work_history")},
        {Make<TActionOutlookCalendar>(), QStringLiteral("Kalendereintrag erstellen"), QStringLiteral("calendar_month")},
        {Make<TActionOutlookNote>(), QStringLiteral("Notiz erstellen"), QStringLiteral("note_alt")},
        {Make<TActionOutlookTask>(), QStringLiteral("Aufgabe erstellen"), QStringLiteral("task")},
        {Make<TActionOutlookContact>(), QStringLiteral("Kontakt erstellen"), QStringLiteral("contact_mail")},
        {Make<TActionStopper>(), QStringLiteral("Aktions-Stopper"), QStringLiteral("do_not_disturb_on")},
        {Make<TActionOrvixTakeCall>(), QStringLiteral("Ruf annehmen"), QStringLiteral("add_ic_call")},
        {Make<TActionOrvixEndCall>(), QStringLiteral("Ruf beenden"), QStringLiteral("call_end")},
        {Make<TActionOrvixDTMF>(), QStringLiteral("DTMF senden"), QStringLiteral("dialpad")},
        {Make<TActionOrvixBlockCaller>(), QStringLiteral("Anrufer sperren"), QStringLiteral("block")},
        {Make<TActionBaseMessage>(), QStringLiteral("Nachricht anzeigen"), QStringLiteral("message")},
        {Make<TActionOutlookBase>(), QStringLiteral("Orvix"), QStringLiteral("alternate_email")},
    };
    for (const ActionCase& c : cases) {
        const auto action = c.make();
        SCOPED_TRACE(action->metaObject()->className());
        EXPECT_EQ(action->Caption(), c.caption);
        EXPECT_EQ(IconList::Instance().Name(action->IconIndex()), c.icon);
        EXPECT_TRUE(action->Active());
        EXPECT_TRUE(action->FreeObjects());
        // Only the call-control actions and the blocking of the caller ask the line; they are tried
        // against a softphone elsewhere.
        if (!qobject_cast<const TActionOrvixCallControl*>(action.get()) &&
            !qobject_cast<const TActionOrvixBlockCaller*>(action.get())) {
            EXPECT_TRUE(action->CanExecute(TOrvixLine()));
        }
    }
}

TEST(ClassDefaults, ParametersCarryCaptionIconAndValue)
{
    struct ParameterCase
    {
        std::unique_ptr<TBaseParameter> parameter;
        QString caption;
        QString icon;
        QString value;
    };
    ParameterCase cases[] = {
        {std::make_unique<TParameterOrvix>(), QStringLiteral("Orvix-Parameter"), QStringLiteral("call"),
         QStringLiteral("orvixCallerNumber")},
        {std::make_unique<TParameterVelquist>(), QStringLiteral("Velquist-Parameter"), QStringLiteral("manage_search"),
         QString()},
        {std::make_unique<TParameterInteraction>(), QStringLiteral("Interaktion"), QStringLiteral("keyboard"),
         QString()},
        {std::make_unique<TParameterUser>(), QStringLiteral("Benutzer-Parameter"), QStringLiteral("person"), QString()},
        {std::make_unique<TParameterSystem>(), QStringLiteral("System-Parameter"), QStringLiteral("computer"),
         QString()},
        {std::make_unique<TParameterOutlookAddressbook>(), QStringLiteral("Outlook-Parameter"),
         QStringLiteral("import_contacts"), QString()},
    };
    for (const ParameterCase& c : cases) {
        SCOPED_TRACE(c.parameter->metaObject()->className());
        EXPECT_EQ(c.parameter->Caption(), c.caption);
        EXPECT_EQ(IconList::Instance().Name(c.parameter->IconIndex()), c.icon);
        EXPECT_EQ(c.parameter->ParameterValue(), c.value);
        EXPECT_TRUE(c.parameter->ShowAlias());
        EXPECT_FALSE(c.parameter->ShowIfEmpty());
        EXPECT_FALSE(c.parameter->SaveAsUserVariable());
        EXPECT_EQ(c.parameter->OrvixLine(), nullptr);
    }
}

TEST(ClassDefaults, FieldDefaults)
{
    const TActionStopper stopper;
    EXPECT_TRUE(stopper.BlockOnSuccess());
    EXPECT_FALSE(stopper.BlockAllActions());
    EXPECT_EQ(stopper.BlockCount(), 1);

    const TActionHTMLMessage html;
    EXPECT_FALSE(html.TimeOut());
    EXPECT_EQ(html.TimeOutSec(), 5);
    EXPECT_EQ(html.HTMLMessageHeight(), QStringLiteral("300"));
    EXPECT_EQ(html.HTMLMessageWidth(), QStringLiteral("370"));
    EXPECT_TRUE(html.DefaultWidth());
    EXPECT_FALSE(html.ShowInvisible());

    const TActionOutlookSendMail mail;
    EXPECT_FALSE(mail.IsDummy());
    EXPECT_EQ(mail.FieldID(), -1);
    EXPECT_FALSE(mail.SendEMailImmediately());
    EXPECT_FALSE(mail.AttachmentsActive());
    ASSERT_EQ(mail.ParameterList().size(), 5);
    EXPECT_TRUE(mail.ParameterList()[0].startsWith(QStringLiteral("1;Recipient;")));
    EXPECT_TRUE(mail.ParameterList()[0].contains(QStringLiteral("@example.")));
    EXPECT_EQ(mail.ParameterList().mid(1),
              (QStringList {QStringLiteral("1;Subject;Beispielbetreff"), QStringLiteral("0;CC;"),
                            QStringLiteral("0;BCC;"), QStringLiteral("1;Template;")}));

    EXPECT_TRUE(TActionOutlookNote().TemplateActive());
    EXPECT_FALSE(TActionOutlookContact().TemplateActive());

    const TParameterVelquist velquist;
    EXPECT_EQ(velquist.SearchField(), QStringLiteral("searchnumber"));
    EXPECT_EQ(velquist.SearchBase(), QStringLiteral("kestrunclient"));
    EXPECT_TRUE(velquist.SearchOptionOrvix());
    EXPECT_EQ(velquist.SearchOptionOrvixValue(), QStringLiteral("orvixCallerNumber"));
    EXPECT_FALSE(velquist.SearchOptionUser());

    const TParameterOutlookAddressbook addressbook;
    EXPECT_TRUE(addressbook.SearchOptionOrvix());
    EXPECT_TRUE(addressbook.SearchOptionOrvixValue().isEmpty());
    EXPECT_TRUE(TParameterInteraction().IsSimpleInput());
    EXPECT_EQ(TParameterSystem().ParamType(), spTime);
}

TEST(ClassDefaults, Descriptions)
{
    TActionStopper stopper;
    EXPECT_EQ(stopper.Description(), QStringLiteral("Bei Erfolg 1 Aktionen überspringen"));
    stopper.SetBlockOnSuccess(false);
    stopper.SetBlockCount(3);
    EXPECT_EQ(stopper.Description(), QStringLiteral("Bei Fehler 3 Aktionen überspringen"));
    stopper.SetBlockAllActions(true);
    EXPECT_EQ(stopper.Description(), QStringLiteral("Bei Fehler keine weiteren Aktionen ausführen"));
    stopper.SetBlockOnSuccess(true);
    EXPECT_EQ(stopper.Description(), QStringLiteral("Bei Erfolg keine weiteren Aktionen ausführen"));

    TActionExecuteProgram program;
    program.SetProgramPath(QStringLiteral("/usr/bin/lookup"));
    EXPECT_EQ(program.Description(), QStringLiteral("Starte: /usr/bin/lookup"));
    TActionOpenDocument document;
    document.SetDocPath(QStringLiteral("~/kunden.ods"));
    EXPECT_EQ(document.Description(), QStringLiteral("Öffne: ~/kunden.ods"));
    TActionDDEMessage dde;
    dde.SetDDEService(QStringLiteral("crm"));
    dde.SetDDETopic(QStringLiteral("calls"));
    EXPECT_EQ(dde.Description(), QStringLiteral("Anw.: crm Thema: calls"));
    TActionOrvixDTMF dtmf;
    dtmf.SetDtmfSigns(QStringLiteral("12#"));
    EXPECT_EQ(dtmf.Description(), QStringLiteral("DTMF 12# senden"));
    EXPECT_EQ(TActionOrvixTakeCall().Description(), QStringLiteral("Ruf annehmen"));
    EXPECT_EQ(TActionBalloonMessage().Description(), QStringLiteral("Nachricht: Standard-Nachricht anzeigen"));

    TActionHTMLMessage html;
    html.SetHTMLTemplate(QStringLiteral("popup.htm"));
    EXPECT_EQ(html.Description(), QStringLiteral("popup.htm"));
    html.SetHTMLWebserverUrl(QStringLiteral("https://crm.example.com/"));
    EXPECT_EQ(html.Description(), QStringLiteral("https://crm.example.com/"));

    TParameterOrvix orvix;
    EXPECT_EQ(orvix.Description(), QStringLiteral("Orvix: orvixCallerNumber"));
    TParameterUser user;
    user.SetParameterValue(QStringLiteral("Custom1"));
    EXPECT_EQ(user.Description(), QStringLiteral("Fester Wert: Custom1"));
    user.SetIsVariable(true);
    EXPECT_EQ(user.Description(), QStringLiteral("Variable: Custom1"));
}

TEST(ClassDefaults, NewLineObject)
{
    const TOrvixLine line;
    EXPECT_EQ(line.LineState(), QStringLiteral("LSUnknown"));
    EXPECT_EQ(line.LineStatesPossible(),
              (QStringList {QStringLiteral("LSInactive"), QStringLiteral("LSRinging"), QStringLiteral("LSDialing"),
                            QStringLiteral("LSAlerting"), QStringLiteral("LSKnocking"), QStringLiteral("LSBusy"),
                            QStringLiteral("LSActive"), QStringLiteral("LSTerminated")}));
    EXPECT_EQ(line.LineIndex(), -1);
    EXPECT_EQ(line.CallId(), -1);
    EXPECT_EQ(line.IsInternalCall(), -1);
    EXPECT_EQ(line.IsOutgoingCall(), -1);
    EXPECT_EQ(line.LastCallId(), 0);
    EXPECT_EQ(line.State(), 0);
    EXPECT_EQ(line.ClientLineMgr(), nullptr);
    EXPECT_FALSE(line.ExecutingRules());
    ASSERT_EQ(line.TemporaryVariables().size(), 20);
    EXPECT_TRUE(line.TemporaryVariables().contains(QStringLiteral("Custom0")));
    EXPECT_TRUE(line.TemporaryVariables().contains(QStringLiteral("Custom19")));
}

TEST(ClassDefaults, UserVariablesAreCaseSensitive)
{
    TOrvixLine line;
    EXPECT_EQ(line.GetUserVariableResult(QStringLiteral("Custom3")), QString());
    line.SetUserVariable(QStringLiteral("Custom3"), QStringLiteral("4711"));
    EXPECT_EQ(line.GetUserVariableResult(QStringLiteral("Custom3")), QStringLiteral("4711"));
    EXPECT_EQ(line.GetUserVariableResult(QStringLiteral("custom3")), QString());
    EXPECT_EQ(line.GetUserVariableResult(QStringLiteral("Nirgends")), QString());
}

TEST(ClassDefaults, ListObjectsAlwaysHaveALineObject)
{
    const TActionSequence sequence;
    const auto line = sequence.OrvixLine();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->LineState(), QStringLiteral("LSUnknown"));
    EXPECT_EQ(sequence.OrvixLine(), line) << "made once, then kept";
}
