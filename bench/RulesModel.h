// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A large model of the kind a busy call centre keeps: many rules, each with its
// own sequence of actions of mixed types, each action fed by a few parameters.
// Deterministic, so that every run measures the same file.

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionDDEMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOpenDocument.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOrvixEndCall.h"
#include "actions/ActionOrvixTakeCall.h"
#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"
#include "rulesfile/Parameters.h"

struct RulesModelSize
{
    int rules = 2000;
    int sequences = 2000;
    int actionsPerSequence = 5;
    int parametersPerAction = 3;
};

inline TBaseParameter* MakeBenchParameter(int n)
{
    static const char* const callValues[] {"orvixCallerNumber", "orvixCallerName", "orvixCalledNumber", "orvixCallId",
                                           "orvixLineName"};
    TBaseParameter* parameter = nullptr;
    switch (n % 6) {
    case 0:
        parameter = new TParameterOrvix;
        parameter->SetParameterValue(QString::fromLatin1(callValues[n % 5]));
        break;
    case 1: {
        auto* velquist = new TParameterVelquist;
        velquist->SetParameterValue(QStringLiteral("displayName"));
        velquist->SetSearchOptionUserValue(QStringLiteral("Kundennummer"));
        parameter = velquist;
        break;
    }
    case 2: {
        auto* interaction = new TParameterInteraction;
        interaction->SetQuery(QStringLiteral("Worum geht es beim Anruf %1?").arg(n));
        interaction->SetIsSimpleInput(n % 4 != 2);
        interaction->SetItems(QStringLiteral("Angebot\nReklamation\nRückruf"));
        parameter = interaction;
        break;
    }
    case 3: {
        auto* user = new TParameterUser;
        user->SetParameterValue(QStringLiteral("Kunde %1 aus Stuttgart").arg(n));
        parameter = user;
        break;
    }
    case 4: {
        auto* system = new TParameterSystem;
        system->SetParamType(SystemParameter(n % 8));
        system->SetDateTimeFormat(QStringLiteral("dd.mm.yyyy hh:nn"));
        parameter = system;
        break;
    }
    default: {
        auto* addressbook = new TParameterOutlookAddressbook;
        addressbook->SetParameterValue(QStringLiteral("CompanyName"));
        addressbook->SetSearchField(QStringLiteral("BusinessTelephoneNumber"));
        addressbook->SetSearchOptionOrvixValue(QStringLiteral("orvixCallerNumber"));
        parameter = addressbook;
        break;
    }
    }
    parameter->SetAlias(QStringLiteral("Wert %1").arg(n % 17));
    if (n % 7 == 0)
        parameter->SetUserVariable(QStringLiteral("Variable%1").arg(n % 50));
    return parameter;
}

inline TBaseAction* MakeBenchAction(int n, const QString& sequenceID)
{
    switch (n % 16) {
    case 0: {
        auto* program = new TActionExecuteProgram;
        program->SetProgramPath(QStringLiteral("/opt/crm/bin/lookup --number %orvixCallerNumber% --line %1").arg(n));
        return program;
    }
    case 1: {
        auto* document = new TActionOpenDocument;
        document->SetDocPath(QStringLiteral("/srv/kunden/akte-%1.pdf").arg(n));
        return document;
    }
    case 2: {
        auto* dde = new TActionDDEMessage;
        dde->SetDDEService(QStringLiteral("org.example.Crm"));
        dde->SetDDETopic(QStringLiteral("/crm/calls"));
        return dde;
    }
    case 3: {
        auto* mail = new TActionSendEMail;
        auto inner = std::make_unique<TActionSendEMail>();
        inner->SetIsDummy(true);
        inner->SetFieldID(TActionSendEMail::FieldSubject);
        inner->AddNewItem(MakeBenchParameter(n));
        mail->AddInnerBaseAction(std::move(inner));
        return mail;
    }
    case 4: {
        auto* balloon = new TActionBalloonMessage;
        balloon->SetTimeOut(true);
        balloon->SetTimeOutSec(10 + n % 20);
        balloon->SetActionSequencesIDs({sequenceID});
        return balloon;
    }
    case 5: {
        auto* html = new TActionHTMLMessage;
        html->SetHTMLWebserverUrl(
            QStringLiteral("https://crm.example.com/call?number=%orvixCallerNumber%&id=%1").arg(n));
        html->SetActionSequencesIDs({sequenceID});
        return html;
    }
    case 6: {
        auto* mail = new TActionOutlookSendMail;
        mail->SetAttachments({QStringLiteral("/srv/vorlagen/preisliste.pdf")});
        return mail;
    }
    case 7:
        return new TActionOutlookJournal;
    case 8:
        return new TActionOutlookCalendar;
    case 9:
        return new TActionOutlookNote;
    case 10:
        return new TActionOutlookTask;
    case 11:
        return new TActionOutlookContact;
    case 12:
        return new TActionStopper;
    case 13:
        return new TActionOrvixTakeCall;
    case 14:
        return new TActionOrvixEndCall;
    default: {
        auto* dtmf = new TActionOrvixDTMF;
        dtmf->SetDtmfSigns(QStringLiteral("*%1#").arg(n % 100));
        return dtmf;
    }
    }
}

inline void FillRulesModel(TParameters& parameters, const RulesModelSize& size = {})
{
    int parameterNumber = 0;
    for (int s = 0; s < size.sequences; ++s) {
        auto* sequence = new TActionSequence;
        sequence->SetName(QStringLiteral("Kundenanruf %1").arg(s));
        sequence->SetIconIndex(s % 2000);
        for (int a = 0; a < size.actionsPerSequence; ++a) {
            TBaseAction* action = MakeBenchAction(s * size.actionsPerSequence + a, sequence->ID());
            action->SetCaption(action->Caption() + QStringLiteral(" %1").arg(a + 1));
            for (int p = 0; p < size.parametersPerAction; ++p)
                action->AddNewItem(MakeBenchParameter(parameterNumber++));
            sequence->AddNewItem(action);
        }
        parameters.ActionSequences().AddNewItem(sequence);
    }
    for (int r = 0; r < size.rules; ++r) {
        auto* rule = new TRule;
        rule->SetName(QStringLiteral("Regel %1: eingehend von extern").arg(r));
        rule->SetCallOptionBase({r % 3 == 0 ? cobOut : cobIn});
        rule->SetCallOptionInEx({coExtern});
        rule->SetCallOptionIn({coiIncomingCall, coiCallTerminated});
        rule->SetCallOptionOut({cooDial, cooRemoteConnected});
        rule->SetFromNumberIn(QStringLiteral("0711%1*").arg(r % 1000));
        rule->SetToExtensionNumberIn(QStringLiteral("2%1").arg(r % 100));
        if (TBaseObject* sequence = parameters.ActionSequences().GetObject(r % size.sequences))
            rule->AddNewItem(sequence);
        parameters.Rules().AddNewItem(rule);
    }
}
