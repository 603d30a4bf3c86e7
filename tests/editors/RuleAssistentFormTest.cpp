// SPDX-License-Identifier: GPL-3.0-or-later

#include "ModalDriver.h"
#include "RuleAssistentFixture.h"
#include "TraceCapture.h"
#include "WindowGrab.h"

#include "editors/ActionSequencesForm.h"
#include "editors/NameForm.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QTimer>

#include <QCheckBox>
#include <QLabel>

namespace {

using RuleAssistent = RuleAssistentFixture;

} // namespace

TEST_F(RuleAssistent, PagesFollowTheKindOfRuleBothWays)
{
    struct Case
    {
        QStringList steps;
        QStringList pages;
    };
    const QString welcome = QStringLiteral("Page_Welcome");
    const QString base = QStringLiteral("Page_CallOptionBase");
    const QString origin = QStringLiteral("Page_CallInternExtern");
    const QString tail[] = {QStringLiteral("Page_ActionSequence"), QStringLiteral("Page_SaveRule")};
    const Case cases[] = {
        {{QStringLiteral("cobIn"), QStringLiteral("coiIncomingCall")},
         {welcome, base, origin, QStringLiteral("Page_CallOptionIn"), QStringLiteral("Page_CallOptionInNumber"),
          tail[0], tail[1]}},
        {{QStringLiteral("cobOut"), QStringLiteral("cooDial")},
         {welcome, base, origin, QStringLiteral("Page_CallOptionOut"), QStringLiteral("Page_CallOptionOutNumber"),
          tail[0], tail[1]}},
        {{QStringLiteral("cobNotification")},
         {welcome, base, QStringLiteral("Page_CallOptionNotificationNumber"), tail[0], tail[1]}},
        {{QStringLiteral("cobTransfer")}, {welcome, base, tail[0], tail[1]}},
        {{QStringLiteral("cobApplicationStart")}, {welcome, base, tail[0], tail[1]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps.first().toStdString());
        const auto form = NewRuleWizard();
        EXPECT_EQ(Walk(*form, c.steps), c.pages);
        QStringList back {PageName(*form)};
        while (Enabled(*form, QStringLiteral("button_Back"))) {
            Click(*form, QStringLiteral("button_Back"));
            back.prepend(PageName(*form));
        }
        EXPECT_EQ(back, c.pages);
    }
}

TEST_F(RuleAssistent, HeaderAndButtonsFollowThePage)
{
    const auto form = NewRuleWizard();
    auto* header = Control(*form, QStringLiteral("panel_Header"));
    auto* title = Control<QLabel>(*form, QStringLiteral("label_Title"));
    auto* hint = Control<QLabel>(*form, QStringLiteral("label_Description"));
    auto* next = Control(*form, QStringLiteral("button_Next"));
    auto* save = Control(*form, QStringLiteral("button_Save"));
    EXPECT_FALSE(header->isVisible());
    EXPECT_FALSE(Enabled(*form, QStringLiteral("button_Back")));
    GrabWindow(*form, QStringLiteral("RuleAssistentWelcome"));

    Click(*form, QStringLiteral("button_Next"));
    EXPECT_TRUE(header->isVisible());
    EXPECT_EQ(title->text(), QStringLiteral("Art des Anrufes"));
    EXPECT_EQ(hint->text(), QStringLiteral("Geben Sie hier an, in welcher Situation die Regel gilt"));
    EXPECT_FALSE(next->isEnabled()) << "no kind chosen yet";
    Click(*form, QStringLiteral("cobOut"));
    Click(*form, QStringLiteral("button_Next"));
    Click(*form, QStringLiteral("button_Next"));
    EXPECT_EQ(title->text(), QStringLiteral("Situation bei ausgehenden Rufen"));
    EXPECT_FALSE(next->isEnabled()) << "no situation ticked yet";
    Click(*form, QStringLiteral("cooRemoteBusy"));
    EXPECT_TRUE(next->isEnabled());
    GrabWindow(*form, QStringLiteral("RuleAssistentSituation"));

    Walk(*form, {});
    EXPECT_EQ(title->text(), QStringLiteral("Regel speichern"));
    EXPECT_FALSE(next->isVisible());
    EXPECT_TRUE(save->isVisible());
    EXPECT_FALSE(save->isEnabled()) << "no name yet";
    QTest::keyClicks(Control(*form, QStringLiteral("edit_RuleName")), QStringLiteral("   "));
    EXPECT_FALSE(save->isEnabled()) << "blanks are no name";
    QTest::keyClicks(Control(*form, QStringLiteral("edit_RuleName")), QStringLiteral("x"));
    EXPECT_TRUE(save->isEnabled());
}

// "Weiter>" leaves the keyboard on the new page's first control: Space there
// ticks it, never "Abbrechen" (which would ask to discard the rule).
TEST_F(RuleAssistent, WeiterPutsTheFocusOnThePagesFirstControl)
{
    const auto form = NewRuleWizard();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* next = Control(*form, QStringLiteral("button_Next"));
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Space);
    ASSERT_EQ(PageName(*form), QStringLiteral("Page_CallOptionBase"));
    EXPECT_EQ(QApplication::focusWidget(), Control(*form, QStringLiteral("cobIn")));

    // Space chooses the kind, Return goes on ("Weiter>" is the default button).
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(PageName(*form), QStringLiteral("Page_CallInternExtern"));
    EXPECT_EQ(QApplication::focusWidget(), Control(*form, QStringLiteral("coIntern")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(PageName(*form), QStringLiteral("Page_CallOptionIn"));
    EXPECT_FALSE(next->isEnabled()) << "no situation ticked yet";
    EXPECT_EQ(QApplication::focusWidget(), Control(*form, QStringLiteral("coiAll")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(form->isVisible()) << "Space ticked the box; nothing asked to discard the rule";
    EXPECT_TRUE(next->isEnabled());

    // Back on the first page, Tab enters the group at the chosen kind.
    Click(*form, QStringLiteral("button_Back"));
    Click(*form, QStringLiteral("button_Back"));
    ASSERT_EQ(PageName(*form), QStringLiteral("Page_CallOptionBase"));
    EXPECT_EQ(QApplication::focusWidget(), Control(*form, QStringLiteral("cobIn")));
    Click(*form, QStringLiteral("cobOut"));
    Click(*form, QStringLiteral("button_Next"));
    Click(*form, QStringLiteral("button_Back"));
    EXPECT_EQ(QApplication::focusWidget(), Control(*form, QStringLiteral("cobOut")));
}

// Each case is a new rule walked through the wizard and saved; the copy's rules
// document must hold exactly what was chosen, and "*" wherever a number filter
// is off or left empty, since an empty pattern would keep the rule from ever firing.
TEST_F(RuleAssistent, NewRuleIsSavedWithExactlyTheChosenOptions)
{
    struct Case
    {
        QString name;
        QStringList steps;
        QMap<QString, QStringList> options;
        QMap<QString, QString> texts;
    };
    const QStringList inBoth {QStringLiteral("coinFromNumber"), QStringLiteral("coinToExtension")};
    const QStringList outBoth {QStringLiteral("coonToNumber"), QStringLiteral("coonFromExtension")};
    const QStringList notificationBoth {QStringLiteral("cosToNumber"), QStringLiteral("cosFromNumber")};
    const QString any = QStringLiteral("*");
    const Case cases[] = {
        {QStringLiteral("Kunde"),
         {QStringLiteral("cobIn"), QStringLiteral("coExtern"), QStringLiteral("coiIncomingCall"),
          QStringLiteral("coinFromNumber"), QStringLiteral("FromNumberIn=030*;+4930*"),
          QStringLiteral("comboBox_ActionSequences=Protokoll"), QStringLiteral("edit_RuleName=Kunde")},
         {{QStringLiteral("CallOptionBase"), {QStringLiteral("cobIn")}},
          {QStringLiteral("CallOptionInEx"), {QStringLiteral("coExtern")}},
          {QStringLiteral("CallOptionIn"), {QStringLiteral("coiIncomingCall")}},
          {QStringLiteral("CallOptionOut"), {}},
          {QStringLiteral("CallOptionInNumber"), {QStringLiteral("coinFromNumber")}},
          {QStringLiteral("CallOptionOutNumber"), outBoth},
          {QStringLiteral("CallOptionNotificationNumber"), notificationBoth}},
         {{QStringLiteral("FromNumberIn"), QStringLiteral("030*;+4930*")},
          {QStringLiteral("ToExtensionNumberIn"), any},
          {QStringLiteral("ToNumberOut"), any},
          {QStringLiteral("FromExtensionNumberOut"), any},
          {QStringLiteral("NotificationNumberIn"), any},
          {QStringLiteral("NotificationNumberTo"), any},
          {QStringLiteral("Index"), QStringLiteral("2")}}},
        // Text typed into a filter that is then switched off, and a filter left empty.
        {QStringLiteral("Mobil besetzt"),
         {QStringLiteral("cobOut"), QStringLiteral("coIntern"), QStringLiteral("cooRemoteBusy"),
          QStringLiteral("cooTerminated"), QStringLiteral("coonToNumber"), QStringLiteral("ToNumberOut=0172*"),
          QStringLiteral("coonFromExtension"), QStringLiteral("coonToNumber"),
          QStringLiteral("comboBox_ActionSequences=Popup"), QStringLiteral("edit_RuleName=Mobil besetzt")},
         {{QStringLiteral("CallOptionBase"), {QStringLiteral("cobOut")}},
          {QStringLiteral("CallOptionInEx"), {QStringLiteral("coIntern")}},
          {QStringLiteral("CallOptionIn"), {}},
          {QStringLiteral("CallOptionOut"), {QStringLiteral("cooRemoteBusy"), QStringLiteral("cooTerminated")}},
          {QStringLiteral("CallOptionInNumber"), inBoth},
          {QStringLiteral("CallOptionOutNumber"), {QStringLiteral("coonFromExtension")}},
          {QStringLiteral("CallOptionNotificationNumber"), notificationBoth}},
         {{QStringLiteral("ToNumberOut"), any},
          {QStringLiteral("FromExtensionNumberOut"), any},
          {QStringLiteral("FromNumberIn"), any},
          {QStringLiteral("Index"), QStringLiteral("1")}}},
        // No sequence chosen: the rule links none, not the first of the list.
        {QStringLiteral("Gruppe"),
         {QStringLiteral("cobNotification"), QStringLiteral("cosToNumber"),
          QStringLiteral("NotificationNumberTo=100;200"), QStringLiteral("edit_RuleName=Gruppe")},
         {{QStringLiteral("CallOptionBase"), {QStringLiteral("cobNotification")}},
          {QStringLiteral("CallOptionInEx"), {QStringLiteral("coIntern"), QStringLiteral("coExtern")}},
          {QStringLiteral("CallOptionIn"), {}},
          {QStringLiteral("CallOptionOut"), {}},
          {QStringLiteral("CallOptionInNumber"), inBoth},
          {QStringLiteral("CallOptionOutNumber"), outBoth},
          {QStringLiteral("CallOptionNotificationNumber"), {QStringLiteral("cosToNumber")}}},
         {{QStringLiteral("NotificationNumberIn"), any},
          {QStringLiteral("NotificationNumberTo"), QStringLiteral("100;200")},
          {QStringLiteral("Index"), QString()}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const auto form = NewRuleWizard();
        Walk(*form, c.steps);
        Click(*form, QStringLiteral("button_Save"));
        ASSERT_EQ(form->result(), QDialog::Accepted);
        EXPECT_EQ(form->ActiveRule()->Name(), c.name);
        const auto copy = form->TakeParameters();
        const auto doc = copy->SaveObjectsToXMLDoc();
        const pugi::xml_node rule = SavedRule(*doc, c.name);
        for (auto it = c.options.cbegin(); it != c.options.cend(); ++it)
            EXPECT_EQ(Options(rule, it.key().toLatin1().constData()), it.value()) << it.key().toStdString();
        for (auto it = c.texts.cbegin(); it != c.texts.cend(); ++it) {
            const QString saved = it.key() == QLatin1StringView("Index") ? LinkedIndex(rule)
                                                                         : Text(rule, it.key().toLatin1().constData());
            EXPECT_EQ(saved, it.value()) << it.key().toStdString();
        }
    }
}

TEST_F(RuleAssistent, NewRuleWithoutChosenSequenceShowsNoneSelected)
{
    const auto form = NewRuleWizard();
    Walk(*form, {QStringLiteral("cobTransfer"), QStringLiteral("edit_RuleName=Weiter")});
    EXPECT_EQ(Control<QComboBox>(*form, QStringLiteral("comboBox_ActionSequences"))->count(), 3);
    EXPECT_EQ(Control<QComboBox>(*form, QStringLiteral("comboBox_ActionSequences"))->currentIndex(), -1);
    EXPECT_FALSE(Enabled(*form, QStringLiteral("button_EditActionSequence")));
    Click(*form, QStringLiteral("button_Save"));
    EXPECT_EQ(form->ActiveRule()->Count(), 0);
}

TEST_F(RuleAssistent, ReopenedRuleShowsWhatWasSaved)
{
    auto form = NewRuleWizard();
    Walk(*form, {QStringLiteral("cobIn"), QStringLiteral("coiIncomingCall"), QStringLiteral("edit_RuleName=Klingeln")});
    Click(*form, QStringLiteral("button_Save"));
    const QString id = form->ActiveRule()->ID();
    const auto copy = form->TakeParameters();

    form = Open(copy->Clone(), id);
    EXPECT_EQ(PageName(*form), QStringLiteral("Page_CallOptionBase")) << "a named rule skips the welcome";
    EXPECT_FALSE(Enabled(*form, QStringLiteral("button_Back")));
    EXPECT_TRUE(Control<QAbstractButton>(*form, QStringLiteral("cobIn"))->isChecked());
    EXPECT_TRUE(Control<QAbstractButton>(*form, QStringLiteral("coIntern"))->isChecked());
    EXPECT_TRUE(Control<QAbstractButton>(*form, QStringLiteral("coExtern"))->isChecked());
    for (const char* box : {"coinFromNumber", "coinToExtension"})
        EXPECT_TRUE(Control<QAbstractButton>(*form, QString::fromLatin1(box))->isChecked()) << box;
    for (const char* field : {"FromNumberIn", "ToExtensionNumberIn"}) {
        EXPECT_TRUE(Control<QLineEdit>(*form, QString::fromLatin1(field))->text().isEmpty()) << field;
        EXPECT_TRUE(Enabled(*form, QString::fromLatin1(field))) << field;
    }
    EXPECT_EQ(Control<QLineEdit>(*form, QStringLiteral("edit_RuleName"))->text(), QStringLiteral("Klingeln"));
}

TEST_F(RuleAssistent, AllSituationsBoxTicksAndFollowsTheOthers)
{
    const auto form = NewRuleWizard();
    const auto goTo = [&form](const char* kind) {
        Click(*form, QString::fromLatin1(kind));
        Click(*form, QStringLiteral("button_Next"));
        Click(*form, QStringLiteral("button_Next"));
    };
    Click(*form, QStringLiteral("button_Next"));
    goTo("cobIn");
    EXPECT_EQ(PageName(*form), QStringLiteral("Page_CallOptionIn"));
    const auto checked = [&form](const char* name) {
        return Control<QCheckBox>(*form, QString::fromLatin1(name))->isChecked();
    };
    Click(*form, QStringLiteral("coiAll"));
    EXPECT_TRUE(checked("coiIncomingCall") && checked("coiCallPickUp") && checked("coiCallTerminated"));
    Click(*form, QStringLiteral("coiIncomingCall"));
    EXPECT_FALSE(checked("coiAll"));
    EXPECT_TRUE(checked("coiCallPickUp"));
    Click(*form, QStringLiteral("button_Back"));
    Click(*form, QStringLiteral("button_Back"));
    goTo("cobOut");
    EXPECT_EQ(PageName(*form), QStringLiteral("Page_CallOptionOut"));
    Click(*form, QStringLiteral("cooAll"));
    EXPECT_TRUE(checked("cooRemoteWaiting"));
    Click(*form, QStringLiteral("cooAll"));
    for (const char* box :
         {"cooDial", "cooRemoteRing", "cooRemoteBusy", "cooRemoteWaiting", "cooRemoteConnected", "cooTerminated"})
        EXPECT_FALSE(checked(box)) << box;
}

TEST_F(RuleAssistent, ChoosingAnotherSequenceReplacesOnlyTheFirst)
{
    TRule* rule = AddRule(QStringLiteral("Drei"));
    rule->SetCallOptionBase({cobTransfer});
    for (int i = 0; i < 3; ++i)
        rule->AddNewItem(Sequence(i));
    const auto form = EditWizard(*rule);
    Walk(*form, {});
    Click(*form, QStringLiteral("button_Back"));
    auto* list = Control<QComboBox>(*form, QStringLiteral("comboBox_ActionSequences"));
    EXPECT_EQ(list->currentText(), QStringLiteral("Popup")) << "the rule's first sequence";
    list->setCurrentIndex(2);
    Click(*form, QStringLiteral("button_Next"));
    Click(*form, QStringLiteral("button_Save"));
    QStringList linked;
    for (TBaseObject* item : form->ActiveRule()->MainList())
        linked.append(qobject_cast<TActionSequence*>(item)->Name());
    EXPECT_EQ(linked, (QStringList {QStringLiteral("Notiz"), QStringLiteral("Protokoll"), QStringLiteral("Notiz")}));
}

// A rules file may give a rule several kinds, of which the radio group shows the last.
TEST_F(RuleAssistent, SeveralKindsAreKeptUnlessAnotherIsChosen)
{
    TRule* rule = AddRule(QStringLiteral("Zwei Arten"));
    rule->SetCallOptionBase({cobIn, cobTransfer});
    TraceCapture trace;
    auto form = EditWizard(*rule);
    EXPECT_TRUE(Control<QAbstractButton>(*form, QStringLiteral("cobTransfer"))->isChecked());
    Walk(*form, {});
    Click(*form, QStringLiteral("button_Save"));
    EXPECT_EQ(form->ActiveRule()->CallOptionBase(), (TCallOptionBaseSet {cobIn, cobTransfer}));
    EXPECT_EQ(trace.LastValue(QStringLiteral("RuleAssistent::button_SaveClick:Several call kinds kept")),
              QStringLiteral("[cobIn, cobTransfer]"));

    form = EditWizard(*rule);
    Walk(*form, {QStringLiteral("cobNotification")});
    Click(*form, QStringLiteral("button_Save"));
    EXPECT_EQ(form->ActiveRule()->CallOptionBase(), TCallOptionBaseSet {cobNotification});
    EXPECT_TRUE(trace.Has(QStringLiteral("RuleAssistent::button_SaveClick:Several call kinds replaced")));
}

TEST_F(RuleAssistent, NameOfTheLongestAllowedLengthIsKept)
{
    const QString name(150, u'n');
    TRule* rule = AddRule(name);
    rule->SetCallOptionBase({cobApplicationStart});
    const auto form = EditWizard(*rule);
    Walk(*form, {});
    // The last page takes typing at once, in its name field.
    ASSERT_EQ(form->focusWidget(), Control(*form, QStringLiteral("edit_RuleName")));
    QTest::keyClicks(form->focusWidget(), QStringLiteral("x"));
    Click(*form, QStringLiteral("button_Save"));
    EXPECT_EQ(form->ActiveRule()->Name(), name);
}

TEST_F(RuleAssistent, CancelAsksAndLeavesTheModelAsItWas)
{
    TRule* rule = AddRule(QStringLiteral("Kunde"));
    rule->SetCallOptionBase({cobIn});
    rule->AddNewItem(Sequence(0));
    const QString before = DocumentText(model);
    const auto form = EditWizard(*rule);
    Walk(*form,
         {QStringLiteral("cobOut"), QStringLiteral("cooDial"), QStringLiteral("comboBox_ActionSequences=Notiz"),
          QStringLiteral("edit_RuleName=Anders")});

    TMessageBox::SetNextAnswer(QMessageBox::No);
    Click(*form, QStringLiteral("button_Cancel"));
    EXPECT_TRUE(form->isVisible()) << "No keeps the wizard open";
    TMessageBox::SetNextAnswer(QMessageBox::Yes);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(DocumentText(model), before);
}

namespace {

// Runs step on the next TWindow that becomes the active modal window, for a
// window that opens only after the one being driven has closed.
template <typename TWindow>
class NextModal
{
public:
    template <typename TStep>
    explicit NextModal(TStep step)
    {
        m_poll.setInterval(0);
        QObject::connect(&m_poll, &QTimer::timeout, [this, step] {
            if (auto* window = qobject_cast<TWindow*>(QApplication::activeModalWidget())) {
                m_poll.stop();
                shown = true;
                step(*window);
            }
        });
    }
    void Start() { m_poll.start(); }
    bool shown = false;

private:
    QTimer m_poll;
};

// "Neu..." on the sequence page, naming the sequence; the editor is left to editor.
void NameAndOpenEditor(TRuleAssistentForm& form, const QString& name, NextModal<TActionSequencesForm>& editor)
{
    DriveModal<TActionSequencesNameForm>(
        [&](TActionSequencesNameForm& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("edit_Name"))->setText(name);
            editor.Start();
            dialog.accept();
        },
        [&] { form.findChild<QAbstractButton*>(QStringLiteral("button_NewActionSequence"))->click(); });
}

} // namespace

// "Neu..." names a sequence, fills it in the editor locked on it, and links it
// to the rule; a cancelled editor leaves no sequence behind.
TEST_F(RuleAssistent, NewSequenceIsMadeInTheLockedEditorAndLinked)
{
    const auto form = NewRuleWizard();
    Walk(*form, {QStringLiteral("cobApplicationStart"), QStringLiteral("edit_RuleName=Start")});
    Click(*form, QStringLiteral("button_Back"));
    ASSERT_EQ(PageName(*form), QStringLiteral("Page_ActionSequence"));

    NextModal<TActionSequencesForm> cancelled([](TActionSequencesForm& editor) { editor.reject(); });
    NameAndOpenEditor(*form, QStringLiteral("Verworfen"), cancelled);
    EXPECT_TRUE(cancelled.shown);
    auto* list = Control<QComboBox>(*form, QStringLiteral("comboBox_ActionSequences"));
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentIndex(), -1);

    TraceCapture trace;
    NextModal<TActionSequencesForm> accepted([](TActionSequencesForm& editor) {
        EXPECT_FALSE(editor.findChild<QWidget*>(QStringLiteral("comboBox_ActionSequences"))->isEnabled());
        EXPECT_FALSE(editor.findChild<QWidget*>(QStringLiteral("button_New"))->isEnabled());
        EXPECT_EQ(editor.ActiveActionSequence()->Name(), QStringLiteral("Anruf"));
        editor.ActiveActionSequence()->SetIconIndex(4);
        editor.accept();
    });
    NameAndOpenEditor(*form, QStringLiteral("Anruf"), accepted);
    ASSERT_TRUE(accepted.shown);
    EXPECT_EQ(trace.LastValue(QStringLiteral("RuleAssistent::NewActionSequence:Creating new action sequence:")),
              QStringLiteral("Anruf"));
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentText(), QStringLiteral("Anruf"));
    EXPECT_TRUE(Enabled(*form, QStringLiteral("button_EditActionSequence")));

    Click(*form, QStringLiteral("button_Next"));
    Click(*form, QStringLiteral("button_Save"));
    const TRule* rule = form->ActiveRule();
    ASSERT_EQ(rule->Count(), 1);
    const auto* linked = qobject_cast<const TActionSequence*>(rule->GetObject(0));
    EXPECT_EQ(linked->Name(), QStringLiteral("Anruf"));
    EXPECT_EQ(linked->IconIndex(), 4);
    EXPECT_EQ(model.ActionSequences().Count(), 3) << "the model is untouched until the caller adopts the copy";
}

// "Bearbeiten..." opens the editor locked on the chosen sequence; only OK keeps its changes.
TEST_F(RuleAssistent, EditSequenceChangesTheWorkingCopyOnlyOnOk)
{
    TRule* rule = AddRule(QStringLiteral("Kunde"));
    rule->SetCallOptionBase({cobApplicationStart});
    rule->AddNewItem(Sequence(1));
    const auto form = EditWizard(*rule);
    Walk(*form, {});
    Click(*form, QStringLiteral("button_Back"));

    for (const bool ok : {false, true}) {
        const bool shown = DriveModal<TActionSequencesForm>(
            [ok](TActionSequencesForm& editor) {
                EXPECT_EQ(editor.ActiveActionSequence()->Name(), QStringLiteral("Protokoll"));
                EXPECT_FALSE(editor.findChild<QWidget*>(QStringLiteral("button_Delete"))->isEnabled());
                editor.ActiveActionSequence()->SetName(QStringLiteral("Protokoll neu"));
                ok ? editor.accept() : editor.reject();
            },
            [&] { Click(*form, QStringLiteral("button_EditActionSequence")); });
        ASSERT_TRUE(shown);
        EXPECT_EQ(Control<QComboBox>(*form, QStringLiteral("comboBox_ActionSequences"))->currentText(),
                  ok ? QStringLiteral("Protokoll neu") : QStringLiteral("Protokoll"));
    }
    Click(*form, QStringLiteral("button_Next"));
    Click(*form, QStringLiteral("button_Save"));
    EXPECT_EQ(qobject_cast<const TActionSequence*>(form->ActiveRule()->GetObject(0))->Name(),
              QStringLiteral("Protokoll neu"));
    EXPECT_EQ(Sequence(1)->Name(), QStringLiteral("Protokoll"));
}
