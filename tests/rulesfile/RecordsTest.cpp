// SPDX-License-Identifier: GPL-3.0-or-later

#include "RulesFileSupport.h"

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionDDEMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionKinds.h"
#include "actions/ActionOpenDocument.h"
#include "actions/ActionOrvixBlockCaller.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOrvixEndCall.h"
#include "actions/ActionOrvixTakeCall.h"
#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"
#include "model/IconList.h"
#include "model/ListOwnership.h"
#include "model/OrvixLine.h"
#include "parameters/CallValueChoices.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterKinds.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"
#include "rulesfile/RecordTypes.h"

#include <QMetaProperty>
#include <QSet>

#include <algorithm>
#include <functional>

namespace {

QString L(const char* text)
{
    return QString::fromUtf8(text);
}

template <typename T>
T* Base(T* parameter, const char* caption, const char* value)
{
    parameter->SetCaption(L(caption));
    parameter->SetAlias(L("Alias ") + L(caption));
    parameter->SetShowAlias(false);
    parameter->SetShowIfEmpty(true);
    parameter->SetCancelOnNoResult(true);
    parameter->SetParameterValue(L(value));
    parameter->SetSaveAsUserVariable(true);
    parameter->SetUserVariable(L("Var ") + L(caption));
    return parameter;
}

// Every parameter type, each field away from its constructor value.
QList<TBaseParameter*> EveryParameter()
{
    auto* user = Base(new TParameterUser, "Benutzer", "  zwei  Blanks ");
    user->SetIsVariable(true);
    auto* interaction = Base(new TParameterInteraction, "Frage", "Antwort");
    interaction->SetQuery(L("Welches Projekt?"));
    interaction->SetIsSimpleInput(false);
    interaction->SetItems(L("Alpha\r\nBeta & <Gamma>\n"));
    auto* velquist = Base(new TParameterVelquist, "Verzeichnis", "displayName");
    velquist->SetSearchField(L("searchcontact"));
    velquist->SetSearchBase(L("intranet"));
    velquist->SetSearchOptionOrvix(false);
    velquist->SetSearchOptionOrvixValue(L("orvixCalledNumber"));
    velquist->SetSearchOptionUser(true);
    velquist->SetSearchOptionUserValue(L("Kunde"));
    auto* addressbook = Base(new TParameterOutlookAddressbook, "Adressbuch", "CompanyName");
    addressbook->SetSearchField(L("BusinessTelephoneNumber"));
    addressbook->SetSearchOptionOrvix(false);
    addressbook->SetSearchOptionOrvixValue(L("orvixCallerNumber"));
    addressbook->SetSearchOptionUser(true);
    addressbook->SetSearchOptionUserValue(L("Kunde"));
    auto* system = Base(new TParameterSystem, "System", "egal");
    system->SetParamType(spOS);
    system->SetEnvironmentalVariable(L("HOME"));
    system->SetTimeFormat(L("hh:nn"));
    system->SetDateFormat(L("dd.mm.yyyy"));
    system->SetDateTimeFormat(L("dd.mm.yyyy hh:nn"));
    auto* orvix = Base(new TParameterOrvix, "Anruf", "orvixCalledNumber");
    return {orvix, velquist, interaction, user, system, addressbook};
}

std::unique_ptr<TActionSendEMail> InnerAction(int fieldID, const char* value)
{
    auto inner = std::make_unique<TActionSendEMail>();
    inner->SetIsDummy(true);
    inner->SetFieldID(fieldID);
    inner->SetCaption(L("Feld"));
    inner->SetParameterList({});
    inner->AddNewItem(Base(new TParameterOrvix, "Innen", value));
    return inner;
}

// Every action type, each field away from its constructor value.
QList<TBaseAction*> EveryAction(const QString& sequenceID)
{
    auto* program = new TActionExecuteProgram;
    program->SetProgramPath(L("/usr/bin/crm %orvixCallerNumber%"));
    program->SetWaitForTerminate(true);
    for (TBaseParameter* parameter : EveryParameter())
        program->AddNewItem(parameter);
    auto* document = new TActionOpenDocument;
    document->SetDocPath(L("~/Kunden/Übersicht.ods"));
    auto* dde = new TActionDDEMessage;
    dde->SetDDEService(L("org.example.Crm"));
    dde->SetDDETopic(L("/crm"));
    auto* mail = new TActionSendEMail;
    mail->SetParameterList({L("1;Recipient;a@example.com"), L("0;Subject;Betreff"), QString()});
    mail->AddInnerBaseAction(InnerAction(TActionSendEMail::FieldRecipient, "orvixCallerName"));
    mail->AddInnerBaseAction(InnerAction(TActionSendEMail::FieldTemplate, "orvixCallerNumber"));
    auto* balloon = new TActionBalloonMessage;
    balloon->SetTimeOut(true);
    balloon->SetTimeOutSec(30);
    balloon->SetActionSequencesIDs({sequenceID, QString(), sequenceID});
    auto* html = new TActionHTMLMessage;
    html->SetTimeOut(true);
    html->SetTimeOutSec(0);
    html->SetActionSequencesIDs({sequenceID});
    html->SetShowInvisible(true);
    html->SetDefaultWidth(false);
    html->SetHTMLWebserverUrl(L("https://crm.example.com/?q=%orvixCallerNumber%&x=1"));
    html->SetHTMLTemplate(L("/srv/vorlage.html"));
    html->SetHTMLMessageHeight(L("480"));
    html->SetHTMLMessageWidth(L("640"));
    html->SetHTMLUser(L("anna"));
    html->SetHTMLPassword(L("geheim \"1\""));
    auto* outlookMail = new TActionOutlookSendMail;
    outlookMail->SetSendEMailImmediately(true);
    outlookMail->SetAttachments({L("/srv/a.pdf"), L("/srv/b c.pdf")});
    outlookMail->SetAttachmentsActive(true);
    outlookMail->SetParameterList({L("1;Recipient;b@example.com")});
    outlookMail->AddInnerBaseAction(InnerAction(TActionSendEMail::FieldCC, "orvixCalledNumber"));
    QList<TBaseAction*> items {new TActionOutlookJournal, new TActionOutlookCalendar, new TActionOutlookNote,
                               new TActionOutlookTask};
    for (int i = 0; i < items.size(); ++i) {
        auto* item = qobject_cast<TActionOutlookBase*>(items[i]);
        item->SetTemplate(L("/srv/item%1.txt").arg(i));
        item->SetTemplateActive(false);
    }
    auto* stopper = new TActionStopper;
    stopper->SetBlockOnSuccess(false);
    stopper->SetBlockAllActions(true);
    stopper->SetBlockCount(3);
    auto* dtmf = new TActionOrvixDTMF;
    dtmf->SetDtmfSigns(L("*31#"));

    QList<TBaseAction*> actions {program, document, dde, mail, balloon, html, outlookMail};
    actions += items;
    actions += {new TActionOutlookContact, stopper, new TActionOrvixTakeCall,
                new TActionOrvixEndCall,   dtmf,    new TActionOrvixBlockCaller};
    for (TBaseAction* action : actions) {
        action->SetActive(false);
        action->SetCaption(L("Meine ") + action->Caption());
    }
    return actions;
}

void FillEveryType(TParameters& parameters)
{
    auto* sequence = new TActionSequence;
    sequence->SetName(L("Alles <&> \"zitiert\""));
    sequence->SetIconIndex(42);
    auto* second = new TActionSequence;
    second->SetName(L("Zweite"));
    for (TBaseAction* action : EveryAction(second->ID()))
        sequence->AddNewItem(action);
    parameters.ActionSequences().AddNewItem(sequence);
    parameters.ActionSequences().AddNewItem(second);

    auto* rule = new TRule;
    rule->SetName(L("Kunde"));
    rule->SetActive(false);
    rule->SetCallOptionBase({cobIn, cobTransfer, cobApplicationStart});
    rule->SetCallOptionInEx({coExtern});
    rule->SetCallOptionIn({coiCallPickUp, coiCallTerminated});
    rule->SetCallOptionOut({cooDial, cooTerminated});
    rule->SetCallOptionInNumber({coinFromNumber});
    rule->SetCallOptionOutNumber({coonToNumber, coonFromExtension});
    rule->SetCallOptionNotificationNumber({cosAll});
    rule->SetFromNumberIn(L("0711*;089*"));
    rule->SetToExtensionNumberIn(L("20?"));
    rule->SetToNumberOut(L("+49*"));
    rule->SetFromExtensionNumberOut(L("21"));
    rule->SetNotificationNumberIn(L("3*"));
    rule->SetNotificationNumberTo(L("4*"));
    rule->AddNewItem(second);
    parameters.Rules().AddNewItem(rule);
}

// Whether the test model must set the field away from its default, so that the
// round trip shows it survives. Fields the file does not hold stay at the
// constructor's values; an outer e-mail action has no field number and is no dummy
// (its inner actions carry both and are compared field by field).
bool MustBeSet(const QObject* object, const QByteArray& name)
{
    static const QSet<QByteArray> notInTheFile {"Name",        "IconIndex", "Description", "Count",
                                                "FreeObjects", "MainList",  "FieldID",     "IsDummy"};
    if (name == "HTMLTemplate")
        return qobject_cast<const TActionHTMLMessage*>(object) != nullptr;
    if (name == "Template" || name == "TemplateActive")
        return qobject_cast<const TActionOutlookBase*>(object) != nullptr;
    return !notInTheFile.contains(name);
}

std::unique_ptr<QObject> FreshOfSameType(const QObject* object)
{
    if (const auto* action = qobject_cast<const TBaseAction*>(object))
        return GetBaseActionObject(QStringView(GetBaseActionType(action)));
    return GetParameterObject(QStringView(GetParameterType(qobject_cast<const TBaseParameter*>(object))));
}

// sameIDs false: the objects are copies that must have IDs of their own.
void ExpectSameProperties(const QObject* reloaded, const QObject* original, bool checkCoverage, bool sameIDs = true)
{
    ASSERT_EQ(reloaded->metaObject(), original->metaObject());
    const QMetaObject* meta = original->metaObject();
    SCOPED_TRACE(meta->className());
    const std::unique_ptr<QObject> fresh = FreshOfSameType(original);
    ASSERT_NE(fresh, nullptr);
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (qstrcmp(property.name(), "MainList") == 0)
            continue;
        if (!sameIDs && qstrcmp(property.name(), "ID") == 0) {
            EXPECT_NE(property.read(reloaded), property.read(original)) << property.name();
            continue;
        }
        EXPECT_EQ(property.read(reloaded), property.read(original)) << property.name();
        if (checkCoverage && MustBeSet(original, property.name())) {
            EXPECT_NE(property.read(original), property.read(fresh.get()))
                << property.name() << " is left at its default, so the test cannot see it survive";
        }
    }
}

void ExpectSameAction(const TBaseAction* reloaded, const TBaseAction* original, bool checkCoverage, bool sameIDs = true)
{
    ExpectSameProperties(reloaded, original, checkCoverage, sameIDs);
    ASSERT_EQ(reloaded->Count(), original->Count());
    for (int i = 0; i < original->Count(); ++i)
        ExpectSameProperties(reloaded->Parameter(i), original->Parameter(i), checkCoverage, sameIDs);
    const auto* originalMail = qobject_cast<const TActionSendEMail*>(original);
    if (!originalMail)
        return;
    const auto& originalInner = originalMail->InnerBaseActions();
    const auto& reloadedInner = qobject_cast<const TActionSendEMail*>(reloaded)->InnerBaseActions();
    ASSERT_EQ(reloadedInner.size(), originalInner.size());
    for (std::size_t i = 0; i < originalInner.size(); ++i)
        ExpectSameAction(reloadedInner[i].get(), originalInner[i].get(), false, sameIDs);
}

// The names of an element's child elements, in order.
QStringList ChildNames(pugi::xml_node element)
{
    QStringList names;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        names.append(QString::fromUtf8(child.name()));
    return names;
}

TBaseAction* ActionOf(const TParameters& parameters, int index)
{
    return SequenceAt(parameters, 0)->Action(index);
}

} // namespace

using Records = FileTest;

TEST_F(Records, EveryTypeSurvivesSaveAndReload)
{
    TParameters original;
    FillEveryType(original);
    const QString file = FilePath(QStringLiteral("rules.xml"));
    ASSERT_TRUE(original.SaveObjectsToXMLFile(file));
    const QByteArray firstSave = ReadFile(file);

    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLFile(file));
    ASSERT_TRUE(reloaded.SaveObjectsToXMLFile(file));
    EXPECT_EQ(ReadFile(file), firstSave);

    ASSERT_EQ(Names(reloaded.ActionSequences()), Names(original.ActionSequences()));
    EXPECT_EQ(SequenceAt(reloaded, 0)->IconIndex(), 42);
    EXPECT_EQ(SequenceAt(reloaded, 1)->ID(), SequenceAt(original, 1)->ID());
    const TActionSequence* sequence = SequenceAt(original, 0);
    ASSERT_EQ(SequenceAt(reloaded, 0)->Count(), sequence->Count());
    QSet<QString> types;
    for (int i = 0; i < sequence->Count(); ++i) {
        ExpectSameAction(ActionOf(reloaded, i), sequence->Action(i), true);
        types.insert(GetBaseActionType(sequence->Action(i)));
    }
    EXPECT_EQ(types.size(), BaseActionTypes().size());

    const TRule* rule = RuleAt(reloaded, 0);
    EXPECT_EQ(rule->CallOptionBase(), RuleAt(original, 0)->CallOptionBase());
    EXPECT_EQ(rule->CallOptionNotificationNumber(), TCallOptionNotificationNumberSet {cosAll});
    EXPECT_EQ(rule->NotificationNumberTo(), QStringLiteral("4*"));
    EXPECT_FALSE(rule->Active());
    EXPECT_EQ(rule->GetObject(0), SequenceAt(reloaded, 1));
}

// The file is written straight from the objects, the document through pugixml;
// both must give the same text, byte for byte, whatever the values hold.
TEST_F(Records, FileTextIsTheTextOfTheDocument)
{
    TParameters parameters;
    FillEveryType(parameters);
    auto* awkward = new TActionSequence;
    awkward->SetName(QString::fromUtf8("<&>\"'\t\r\n\x01\x1f ]]> äöü €𝄞 ") + QChar(0) + QStringLiteral("after NUL"));
    auto* program = new TActionExecuteProgram;
    program->SetProgramPath(QString(QChar(0)) + QStringLiteral("only after NUL"));
    program->SetCaption(QString());
    awkward->AddNewItem(program);
    parameters.ActionSequences().AddNewItem(awkward);
    parameters.ActionSequences().AddNewItem(new TActionSequence);

    const QString file = FilePath(QStringLiteral("rules.xml"));
    ASSERT_TRUE(parameters.SaveObjectsToXMLFile(file));
    const auto doc = parameters.SaveObjectsToXMLDoc();
    doc->first_child().append_attribute("encoding").set_value("UTF-8");
    std::ostringstream text;
    doc->save(text, "\t", pugi::format_default, pugi::encoding_utf8);
    EXPECT_EQ(ReadFile(file).toStdString(), text.str());
}

TEST_F(Records, CloneCopiesEveryType)
{
    TParameters original;
    FillEveryType(original);
    const auto copy = original.Clone();
    EXPECT_EQ(SavedText(*copy), SavedText(original));
    for (int i = 0; i < SequenceAt(original, 0)->Count(); ++i)
        ExpectSameAction(ActionOf(*copy, i), ActionOf(original, i), false);
}

TEST_F(Records, CopiedSequenceHoldsTheSameActionsUnderIDsOfItsOwn)
{
    TParameters parameters;
    FillEveryType(parameters);
    const TActionSequence* source = SequenceAt(parameters, 0);
    const std::unique_ptr<TActionSequence> copy = parameters.CopyActionSequence(*source);

    EXPECT_EQ(copy->Name(), source->Name() + QStringLiteral(" (Kopie)"));
    EXPECT_EQ(copy->IconIndex(), source->IconIndex());
    EXPECT_NE(copy->ID(), source->ID());
    ASSERT_EQ(copy->Count(), source->Count());
    // Message buttons included: they still offer the sequences they offered.
    for (int i = 0; i < source->Count(); ++i)
        ExpectSameAction(copy->Action(i), source->Action(i), false, false);

    // No ID of the copy's objects names any other object, in the copy or the source.
    QStringList ids;
    const std::function<void(const TBaseAction*)> collect = [&](const TBaseAction* action) {
        ids.append(action->ID());
        for (int p = 0; p < action->Count(); ++p)
            ids.append(action->Parameter(p)->ID());
        if (const auto* mail = qobject_cast<const TActionSendEMail*>(action)) {
            for (const auto& inner : mail->InnerBaseActions())
                collect(inner.get());
        }
    };
    for (const TActionSequence* sequence : {source, static_cast<const TActionSequence*>(copy.get())}) {
        ids.append(sequence->ID());
        for (int i = 0; i < sequence->Count(); ++i)
            collect(sequence->Action(i));
    }
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
}

TEST_F(Records, CopiedActionAndParameterKeepTheirIDsAndAreWrittenBackByteEqual)
{
    TParameters parameters;
    FillEveryType(parameters);
    TActionSequence* sequence = SequenceAt(parameters, 0);
    const std::string before = SavedText(parameters);
    for (int i = 0; i < sequence->Count(); ++i) {
        TBaseAction* source = sequence->Action(i);
        std::unique_ptr<TBaseAction> copy = parameters.CopyAction(*source);
        ASSERT_NE(copy, nullptr);
        ASSERT_NE(copy.get(), source);
        ExpectSameAction(copy.get(), source, false);
        for (int p = 0; p < source->Count(); ++p) {
            EXPECT_NE(copy->Parameter(p), source->Parameter(p));
            const std::unique_ptr<TBaseParameter> parameterCopy = parameters.CopyParameter(*source->Parameter(p));
            ASSERT_NE(parameterCopy, nullptr);
            ExpectSameProperties(parameterCopy.get(), source->Parameter(p), false);
            EXPECT_EQ(parameterCopy->OrvixLine(), source->Parameter(p)->OrvixLine());
        }
        // A dialog's OK puts the copy in the source's place: the model reads as it did.
        EXPECT_EQ(ReplaceItem(*sequence, source, std::move(copy)).get(), source);
    }
    EXPECT_EQ(SavedText(parameters), before);
}

TEST(ListOwnership, TakesAndReplacesOnlyWhatAnOwningListHolds)
{
    TBaseList owner;
    auto* first = new TParameterUser;
    auto* second = new TParameterUser;
    owner.AddNewItem(first);
    owner.AddNewItem(second);
    TParameterUser outsider;

    EXPECT_EQ(TakeItem(owner, &outsider), nullptr);
    std::unique_ptr<TBaseObject> taken = TakeItem(owner, first);
    EXPECT_EQ(taken.get(), first);
    EXPECT_EQ(owner.MainList(), QList<TBaseObject*> {second});

    // The taken item goes back in the other's place; the other comes out.
    std::unique_ptr<TBaseObject> replaced = ReplaceItem(owner, second, std::move(taken));
    EXPECT_EQ(replaced.get(), second);
    EXPECT_EQ(owner.MainList(), QList<TBaseObject*> {first});
    // Not in the list: the new item comes back untouched.
    auto stray = std::make_unique<TParameterUser>();
    TBaseObject* strayPointer = stray.get();
    EXPECT_EQ(ReplaceItem(owner, &outsider, std::move(stray)).get(), strayPointer);
    EXPECT_EQ(ReplaceItem(owner, first, nullptr), nullptr);

    // A list that only refers to its items hands none of them over.
    TBaseList referrer;
    referrer.SetFreeObjects(false);
    referrer.AddNewItem(first);
    EXPECT_EQ(TakeItem(referrer, first), nullptr);
    EXPECT_EQ(referrer.Count(), 1);
    EXPECT_NE(ReplaceItem(referrer, first, std::make_unique<TParameterUser>()), nullptr);
    EXPECT_EQ(referrer.MainList(), QList<TBaseObject*> {first});
}

TEST(Kinds, EveryConsumerReadsTheOneTable)
{
    QSet<const QMetaObject*> classes;
    for (const TActionKind& kind : ActionKinds()) {
        SCOPED_TRACE(kind.Class->className());
        classes.insert(kind.Class);
        const std::unique_ptr<TBaseAction> action = kind.Make();
        ASSERT_EQ(action->metaObject(), kind.Class);
        EXPECT_EQ(FindActionKind(*action), &kind);
        EXPECT_EQ(action->Caption(), kind.Caption);
        EXPECT_EQ(action->IconIndex(), IconList::Instance().IndexOf(kind.IconName));
        EXPECT_GE(action->IconIndex(), 0);
        EXPECT_EQ(GetBaseActionType(action.get()), QString::fromLatin1(kind.TypeIdentifier));
        EXPECT_EQ(GetBaseActionObject(kind.TypeIdentifier)->metaObject(), kind.Class);
        EXPECT_EQ(kind.Dialog == TActionDialog::None, kind.DialogCaption.isEmpty());
        if (!kind.PaletteGroup.isEmpty()) {
            const auto groups = ActionPaletteGroups();
            EXPECT_TRUE(std::any_of(groups.begin(), groups.end(),
                                    [&](const TActionPaletteGroup& group) { return group.Name == kind.PaletteGroup; }));
        }
    }
    EXPECT_EQ(classes.size(), qsizetype(ActionKinds().size()));
    EXPECT_EQ(BaseActionTypes().size(), qsizetype(ActionKinds().size()));
    // The bases of several kinds are none.
    EXPECT_EQ(FindActionKind(TActionBaseMessage::staticMetaObject), nullptr);
    EXPECT_THROW(ActionKindOf(TActionOutlookBase::staticMetaObject), std::logic_error);

    for (const TParameterKind& kind : ParameterKinds()) {
        SCOPED_TRACE(kind.Class->className());
        const std::unique_ptr<TBaseParameter> parameter = kind.Make();
        ASSERT_EQ(parameter->metaObject(), kind.Class);
        EXPECT_EQ(FindParameterKind(*parameter), &kind);
        EXPECT_EQ(parameter->Caption(), kind.Caption);
        EXPECT_EQ(parameter->IconIndex(), IconList::Instance().IndexOf(kind.IconName));
        EXPECT_EQ(GetParameterType(parameter.get()), QString::fromLatin1(kind.TypeIdentifier));
        EXPECT_FALSE(kind.DialogCaption.isEmpty());
    }
    EXPECT_EQ(ParameterTypes().size(), qsizetype(ParameterKinds().size()));
}

TEST(CallValueChoices, ThreeGroupsEachCaptionOnceInItsFirstGroup)
{
    const QList<TCallValueChoice> choices = CallValueChoices();
    QStringList headers;
    QStringList outgoing;
    QSet<QString> captions;
    for (const TCallValueChoice& choice : choices) {
        EXPECT_FALSE(captions.contains(choice.Caption)) << choice.Caption.toStdString();
        captions.insert(choice.Caption);
        if (IsCallValueGroupHeader(choice.Value)) {
            headers.append(choice.Caption);
            continue;
        }
        EXPECT_TRUE(choice.Value.startsWith(QStringLiteral("orvix")));
        if (headers.size() == 2)
            outgoing.append(choice.Caption);
    }
    EXPECT_EQ(headers,
              (QStringList {QStringLiteral("-- Eingehender Ruf --"), QStringLiteral("-- Ausgehender Ruf --"),
                            QStringLiteral("-- Rufbenachrichtigung --")}));
    EXPECT_EQ(outgoing, (QStringList {QStringLiteral("Calling Extension"), QStringLiteral("Called Number")}));
    EXPECT_EQ(choices.size(), 21 + 3);
}

TEST(SequenceDeletion, RulesAndOtherMessagesLetGoOfTheSequence)
{
    TParameters parameters;
    auto* first = new TActionSequence;
    auto* middle = new TActionSequence;
    auto* last = new TActionSequence;
    first->SetName(QStringLiteral("Popup"));
    middle->SetName(QStringLiteral("Mitte"));
    last->SetName(QStringLiteral("Notiz"));
    const QString middleID = middle->ID();
    auto* offersBoth = new TActionBalloonMessage;
    offersBoth->SetAssociatedActionSequences({middleID, last->ID()});
    first->AddNewItem(offersBoth);
    auto* offersItself = new TActionHTMLMessage;
    offersItself->SetAssociatedActionSequences({middleID});
    middle->AddNewItem(offersItself);
    auto* offersMiddle = new TActionHTMLMessage;
    offersMiddle->SetAssociatedActionSequences({middleID});
    last->AddNewItem(offersMiddle);
    for (TActionSequence* sequence : {first, middle, last})
        parameters.ActionSequences().AddNewItem(sequence);
    for (TActionSequence* linked : {middle, last}) {
        auto* rule = new TRule;
        rule->SetName(linked->Name());
        rule->AddNewItem(first);
        rule->AddNewItem(linked);
        parameters.Rules().AddNewItem(rule);
    }

    const QList<TActionBaseMessage*> offering = parameters.MessagesOfferingActionSequence(*middle);
    EXPECT_EQ(offering, (QList<TActionBaseMessage*> {offersBoth, offersMiddle}));

    parameters.DeleteActionSequence(middle);
    EXPECT_EQ(Names(parameters.ActionSequences()), (QStringList {QStringLiteral("Popup"), QStringLiteral("Notiz")}));
    EXPECT_EQ(offersBoth->AssociatedActionSequences(), QStringList {last->ID()});
    EXPECT_TRUE(offersMiddle->AssociatedActionSequences().isEmpty());
    EXPECT_EQ(RuleAt(parameters, 0)->MainList(), (QList<TBaseObject*> {first}));

    // Rules name sequences by position: after the gap, reloading still finds the right ones.
    const auto doc = parameters.SaveObjectsToXMLDoc();
    ASSERT_NE(doc, nullptr);
    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLDoc(*doc));
    const TRule* second = RuleAt(reloaded, 1);
    ASSERT_EQ(second->Count(), 2);
    EXPECT_EQ(qobject_cast<TBaseList*>(second->GetObject(0))->ID(), first->ID());
    EXPECT_EQ(qobject_cast<TBaseList*>(second->GetObject(1))->ID(), last->ID());
}

TEST(RecordElements, OutlookMailWritesItsOwnBlockThenTheMailBlock)
{
    TParameters parameters;
    auto* sequence = new TActionSequence;
    auto* mail = new TActionOutlookSendMail;
    mail->AddNewItem(new TParameterOrvix);
    mail->AddInnerBaseAction(InnerAction(TActionSendEMail::FieldSubject, "orvixCallerName"));
    sequence->AddNewItem(mail);
    parameters.ActionSequences().AddNewItem(sequence);

    const auto doc = parameters.SaveObjectsToXMLDoc();
    const pugi::xml_node action = doc->select_node("//BaseAction").node();
    EXPECT_EQ(ChildNames(action),
              (QStringList {"ID", "BaseActionType", "Active", "Caption", "SendEMailImmediately", "Attachments",
                            "AttachmentsActive", "IsDummy", "ParameterList", "InnerBaseActions", "AllSubActions"}));
    EXPECT_STREQ(action.child("BaseActionType").text().get(), "baOutlookEMail");
    const pugi::xml_node inner = action.child("InnerBaseActions").child("AllBaseActions").child("BaseAction");
    EXPECT_STREQ(inner.attribute("rep").value(), "1");
    EXPECT_EQ(ChildNames(inner),
              (QStringList {"ID", "BaseActionType", "Active", "Caption", "IsDummy", "ParameterList", "FieldID",
                            "AllSubActions"}));
    EXPECT_STREQ(inner.child("FieldID").text().get(), "1");
    EXPECT_EQ(ChildNames(action.child("AllSubActions").child("SubAction")),
              (QStringList {"ID", "Caption", "ParamType", "Alias", "ShowAlias", "ShowIfEmpty", "CancelOnNoResult",
                            "ParamValue", "SaveAsUserVariable", "UserVariable"}));

    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLDoc(*doc));
    const auto* loaded = qobject_cast<TActionOutlookSendMail*>(ActionOf(reloaded, 0));
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->InnerBaseActions().size(), 1u);
    EXPECT_EQ(loaded->InnerBaseActionForField(TActionSendEMail::FieldSubject), loaded->InnerBaseActions()[0].get());

    // A file without field numbers: the inner actions stand in field order.
    pugi::xml_node(inner).remove_child("FieldID");
    TParameters older;
    ASSERT_TRUE(older.LoadObjectsFromXMLDoc(*doc));
    const auto* olderMail = qobject_cast<TActionOutlookSendMail*>(ActionOf(older, 0));
    ASSERT_EQ(olderMail->InnerBaseActions().size(), 1u);
    EXPECT_EQ(olderMail->InnerBaseActions()[0]->FieldID(), TActionSendEMail::FieldRecipient);

    // A second inner action for the same field is dropped, and every inner action is a dummy.
    pugi::xml_node all = pugi::xml_node(inner).parent();
    pugi::xml_node second = all.append_copy(inner);
    second.attribute("rep").set_value("2");
    for (pugi::xml_node node : {pugi::xml_node(inner), second})
        node.append_child("FieldID").text().set("1");
    pugi::xml_node(inner).child("IsDummy").text().set("False");
    TParameters doubled;
    ASSERT_TRUE(doubled.LoadObjectsFromXMLDoc(*doc));
    const auto* doubledMail = qobject_cast<TActionOutlookSendMail*>(ActionOf(doubled, 0));
    ASSERT_EQ(doubledMail->InnerBaseActions().size(), 1u);
    EXPECT_EQ(doubledMail->InnerBaseActions()[0]->FieldID(), TActionSendEMail::FieldSubject);
    EXPECT_TRUE(doubledMail->InnerBaseActions()[0]->IsDummy());
}

TEST(RecordElements, DummyMailWritesNoInnerActions)
{
    TParameters parameters;
    auto* sequence = new TActionSequence;
    auto* dummy = new TActionSendEMail;
    dummy->SetIsDummy(true);
    dummy->AddInnerBaseAction(InnerAction(TActionSendEMail::FieldBCC, "orvixCallerName"));
    sequence->AddNewItem(dummy);
    sequence->AddNewItem(new TActionSendEMail);
    parameters.ActionSequences().AddNewItem(sequence);

    const auto doc = parameters.SaveObjectsToXMLDoc();
    EXPECT_FALSE(doc->select_node("//InnerBaseActions"));
    EXPECT_FALSE(doc->select_node("//FieldID"));
}

TEST(RecordElements, SystemParameterTypeIsOneDigit)
{
    for (int type = 0; type < EnumCount<SystemParameter>(); ++type) {
        TParameters parameters;
        auto* sequence = new TActionSequence;
        auto* action = new TActionExecuteProgram;
        auto* system = new TParameterSystem;
        system->SetParamType(SystemParameter(type));
        action->AddNewItem(system);
        sequence->AddNewItem(action);
        parameters.ActionSequences().AddNewItem(sequence);
        const auto doc = parameters.SaveObjectsToXMLDoc();
        EXPECT_EQ(QString::fromUtf8(doc->select_node("//SubAction/Type").node().text().get()), QString::number(type));
        TParameters reloaded;
        ASSERT_TRUE(reloaded.LoadObjectsFromXMLDoc(*doc));
        EXPECT_EQ(qobject_cast<TParameterSystem*>(ActionOf(reloaded, 0)->Parameter(0))->ParamType(), type);
    }
}

TEST(RecordTypes, IdentifiersNameExactlyTheirClasses)
{
    for (const QString& identifier : BaseActionTypes()) {
        const auto action = GetBaseActionObject(QStringView(identifier.toLower()));
        ASSERT_NE(action, nullptr) << identifier.toStdString();
        EXPECT_EQ(GetBaseActionType(action.get()), identifier);
    }
    for (const QString& identifier : ParameterTypes()) {
        const auto parameter = GetParameterObject(QStringView(identifier.toUpper()));
        ASSERT_NE(parameter, nullptr) << identifier.toStdString();
        EXPECT_EQ(GetParameterType(parameter.get()), identifier);
    }
    EXPECT_EQ(BaseActionTypes().size(), 17);
    EXPECT_EQ(ParameterTypes().size(), 6);
    EXPECT_EQ(GetBaseActionObject(u"baTeleport"), nullptr);
    EXPECT_EQ(GetBaseActionObject(u"baStopper "), nullptr);
    EXPECT_EQ(GetParameterObject(u""), nullptr);
    // Classes without an identifier of their own: a base class never names a subclass.
    const TActionBaseMessage message;
    EXPECT_EQ(GetBaseActionType(&message), QString());
    const TBaseParameter parameter;
    EXPECT_EQ(GetParameterType(&parameter), QStringLiteral("unknown"));
}

TEST_F(Records, EdgeCasesOfActionAndParameterRecords)
{
    TParameters parameters;
    // A value already there is not replaced by the empty one a loaded parameter registers.
    parameters.OrvixLine()->SetUserVariable(QStringLiteral("Kundennummer"), QStringLiteral("42"));
    const qsizetype before = parameters.OrvixLine()->TemporaryVariables().size();
    ASSERT_TRUE(parameters.LoadObjectsFromXMLFile(TestDataFile(QStringLiteral("records.xml"))));
    const TActionSequence* sequence = SequenceAt(parameters, 0);
    // The action of unknown type is left out.
    ASSERT_EQ(sequence->Count(), 5);

    const auto* html = qobject_cast<TActionHTMLMessage*>(sequence->Action(0));
    ASSERT_NE(html, nullptr);
    EXPECT_EQ(html->ActionSequencesIDs(),
              (QStringList {"{00000000-0000-4000-8000-00000000A001}", "", "{00000000-0000-4000-8000-00000000A002}"}));
    EXPECT_EQ(html->TimeOutSec(), -1);
    EXPECT_FALSE(html->DefaultWidth());
    EXPECT_EQ(html->Caption(), QStringLiteral("HTML-Nachricht anzeigen"));

    const auto* outlookMail = qobject_cast<TActionOutlookSendMail*>(sequence->Action(1));
    ASSERT_NE(outlookMail, nullptr);
    EXPECT_TRUE(outlookMail->SendEMailImmediately());
    EXPECT_EQ(outlookMail->Attachments(), (QStringList {"/srv/preisliste.pdf", "/srv/agb.pdf"}));
    EXPECT_FALSE(outlookMail->IsDummy());
    EXPECT_EQ(outlookMail->ParameterList(), (QStringList {"1;Recipient;vertrieb@example.com", "1;Subject;Anruf"}));
    // Two child elements: the inner action numbered 3 is never looked for.
    ASSERT_EQ(outlookMail->InnerBaseActions().size(), 1u);
    const TActionSendEMail* inner = outlookMail->InnerBaseActions()[0].get();
    EXPECT_EQ(inner->metaObject(), &TActionSendEMail::staticMetaObject);
    EXPECT_TRUE(inner->IsDummy());
    EXPECT_EQ(inner->FieldID(), 3);
    ASSERT_EQ(inner->Count(), 1);
    EXPECT_EQ(inner->Parameter(0)->OrvixLine(), nullptr);

    const auto* dummy = qobject_cast<TActionSendEMail*>(sequence->Action(2));
    EXPECT_TRUE(dummy->IsDummy());
    EXPECT_TRUE(dummy->InnerBaseActions().empty());
    EXPECT_TRUE(dummy->ParameterList().isEmpty());
    EXPECT_EQ(dummy->FieldID(), -1);

    const auto* stopper = qobject_cast<TActionStopper*>(sequence->Action(3));
    EXPECT_EQ(stopper->ID(), QString());
    EXPECT_FALSE(stopper->Active());
    EXPECT_EQ(stopper->BlockCount(), -1);

    const TBaseAction* program = sequence->Action(4);
    ASSERT_EQ(program->Count(), 7);
    const auto* user = qobject_cast<TParameterUser*>(program->Parameter(0));
    EXPECT_EQ(user->ParameterValue(), QStringLiteral("  zwei  Worte "));
    EXPECT_EQ(user->ID().size(), 38);
    EXPECT_EQ(user->Caption(), QStringLiteral("Benutzer-Parameter"));
    EXPECT_FALSE(user->ShowAlias());
    EXPECT_TRUE(user->IsVariable());
    EXPECT_EQ(user->OrvixLine(), parameters.OrvixLine());
    EXPECT_EQ(qobject_cast<TParameterSystem*>(program->Parameter(1))->ParamType(), spTime);
    EXPECT_EQ(qobject_cast<TParameterSystem*>(program->Parameter(2))->ParamType(), spTime);
    EXPECT_EQ(qobject_cast<TParameterSystem*>(program->Parameter(3))->ParamType(), spEnvironmentVariable);

    const auto* older = qobject_cast<TParameterOutlookAddressbook*>(program->Parameter(4));
    EXPECT_EQ(older->ParameterValue(), QStringLiteral("outlookaddressbook"));
    EXPECT_EQ(older->SearchField(), QStringLiteral("CompanyName"));
    EXPECT_TRUE(older->SearchOptionOrvix());
    EXPECT_EQ(older->SearchOptionOrvixValue(), QStringLiteral("orvixCallerNumber"));
    EXPECT_TRUE(older->SearchOptionUser());
    EXPECT_EQ(older->SearchOptionUserValue(), QStringLiteral("Kundennummer"));
    const auto* current = qobject_cast<TParameterOutlookAddressbook*>(program->Parameter(5));
    EXPECT_EQ(current->ParameterValue(), QStringLiteral("FullName"));
    EXPECT_EQ(current->SearchField(), QStringLiteral("OutlookAddressbookCompanyName"));
    EXPECT_FALSE(current->SearchOptionOrvix());
    EXPECT_EQ(current->SearchOptionOrvixValue(), QString());
    EXPECT_EQ(current->SearchOptionUserValue(), QStringLiteral("Ort"));

    EXPECT_EQ(qobject_cast<TParameterInteraction*>(program->Parameter(6))->Query(), QStringLiteral("Welches Projekt?"));

    const QMap<QString, TUserVariable>& variables = parameters.OrvixLine()->TemporaryVariables();
    EXPECT_EQ(variables.size(), before + 1);
    EXPECT_EQ(variables.value(QStringLiteral("Kundennummer")).Value(), QStringLiteral("42"));
    EXPECT_EQ(variables.value(QStringLiteral("Ort")).Value(), QString());
}

TEST(RecordValues, BlanksSurviveAsNbspAndNbspComesBackAsABlank)
{
    EXPECT_EQ(TParameters::TextToXml(QStringLiteral("  a b ")), QStringLiteral("&nbsp;&nbsp;a&nbsp;b&nbsp;"));
    EXPECT_EQ(TParameters::XmlToText(QStringLiteral("&nbsp;&nbsp;a&nbsp;b&nbsp;")), QStringLiteral("  a b "));
    EXPECT_EQ(TParameters::XmlToText(TParameters::TextToXml(QStringLiteral("x&nbsp;y"))), QStringLiteral("x y"));

    pugi::xml_document doc;
    const pugi::xml_node node = doc.append_child("V");
    struct Case
    {
        const char* text;
        bool boolean;
        int integer;
    };
    const Case cases[] {
        {"True", true, -1},
        {"tRUE", true, -1},
        {"True ", false, -1},
        {"1", false, 1},
        {"-2147483648", false, INT_MIN},
        {"2147483648", false, -1},
        {"+7", false, 7},
        {" 7", false, -1},
        {"", false, -1},
        {"0x10", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        node.text().set(c.text);
        EXPECT_EQ(TParameters::GetNodeValueBoolean(node), c.boolean);
        EXPECT_EQ(TParameters::GetNodeValueInteger(node), c.integer);
        EXPECT_EQ(TParameters::GetNodeValueString(node), QString::fromUtf8(c.text));
    }
    EXPECT_FALSE(TParameters::GetNodeValueBoolean(pugi::xml_node()));
    EXPECT_EQ(TParameters::GetNodeValueInteger(pugi::xml_node()), -1);
    EXPECT_EQ(TParameters::GetNodeValueString(pugi::xml_node()), QString());
}
