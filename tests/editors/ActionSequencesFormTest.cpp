// SPDX-License-Identifier: GPL-3.0-or-later

#include "ActionSequencesFixture.h"
#include "ParameterFrameDriver.h"
#include "TraceCapture.h"
#include "WindowGrab.h"

#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOrvixEndCall.h"
#include "model/IconList.h"

#include <QDir>
#include <QTest>

TEST_F(ActionSequences, EmptyModelOffersOnlyANewSequence)
{
    TParameters empty;
    copy = empty.Clone();
    form = std::make_unique<TActionSequencesForm>(*copy);
    form->show();
    SelectPalette(QStringLiteral("Program starten"));

    EXPECT_EQ(Sequences()->count(), 0);
    EXPECT_FALSE(Enabled(QStringLiteral("comboBox_ActionSequences")));
    EXPECT_TRUE(Enabled(QStringLiteral("button_New")));
    for (const char* name : {"comboBox_Icons", "button_Rename", "button_Copy", "button_Delete", "button_Add",
                             "button_Remove", "button_Up", "button_Down", "button_EditAction", "button_DeleteAction"})
        EXPECT_FALSE(Enabled(QLatin1StringView(name))) << name;
    EXPECT_EQ(form->ActiveActionSequence(), nullptr);
}

TEST_F(ActionSequences, PaletteOffersTheActionsInOrderAndGroupsAddNothing)
{
    Open();
    auto* palette = Control<QTreeWidget>(QStringLiteral("listBox_AvailableBaseActions"));
    QStringList texts;
    for (QTreeWidgetItemIterator it(palette); *it; ++it) {
        texts.append(QString((*it)->parent() ? QStringLiteral("  ") : QString()) + (*it)->text(0));
        EXPECT_FALSE((*it)->icon(0).isNull()) << (*it)->text(0).toStdString();
    }
    EXPECT_EQ(
        texts,
        (QStringList {"Program starten", "Document öffnen", "DDE-Nachricht senden", "Benachrichtigungen",
                      "  Standard-Nachricht anzeigen", "  HTML-Nachricht anzeigen", "E-Mail und Organizer",
                      "  E-Mail senden", "  Outlook E-Mail senden", "  Notiz erstellen", "  Journaleintrag erstellen",
                      "  Kalendereintrag erstellen", "  Aufgabe erstellen", "Orvix", "  Ruf annehmen", "  Ruf beenden",
                      "  DTMF senden", "  Anrufer sperren", "Aktions-Stopper"}));

    SelectPalette(QStringLiteral("Orvix"));
    EXPECT_FALSE(Enabled(QStringLiteral("button_Add")));
    emit palette->itemDoubleClicked(palette->currentItem(), 0);
    EXPECT_EQ(UsedActions()->count(), 3);
    SelectPalette(QStringLiteral("Ruf annehmen"));
    EXPECT_TRUE(Enabled(QStringLiteral("button_Add")));
}

TEST_F(ActionSequences, NewSequenceTakesTheIconOfItsFirstActionOnly)
{
    TParameters empty;
    copy = empty.Clone();
    form = std::make_unique<TActionSequencesForm>(*copy);
    form->show();
    TraceCapture trace;

    DriveModal<TActionSequencesNameForm>(
        [](TActionSequencesNameForm& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("edit_Name"));
            auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("button_OK"));
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Name der Aktionsfolge"));
            EXPECT_FALSE(ok->isEnabled());
            QTest::keyClicks(edit, QStringLiteral("   "));
            EXPECT_FALSE(ok->isEnabled());
            QTest::keyClicks(edit, QStringLiteral("Neu"));
            EXPECT_TRUE(ok->isEnabled());
            ok->click();
        },
        [&] { Click(QStringLiteral("button_New")); });
    ASSERT_EQ(copy->ActionSequences().Count(), 1);
    TActionSequence* created = CopySequence(0);
    EXPECT_EQ(created->Name(), QStringLiteral("   Neu"));
    EXPECT_EQ(form->ActiveActionSequence(), created);
    EXPECT_EQ(Sequences()->currentText(), QStringLiteral("   Neu"));
    EXPECT_TRUE(Enabled(QStringLiteral("comboBox_ActionSequences")));

    SelectPalette(QStringLiteral("Ruf beenden"));
    EXPECT_EQ(ActionPage(QStringLiteral("button_Add"), Ok), QStringLiteral("Gespräch beenden"));
    const int endCallIcon = TActionOrvixEndCall().IconIndex();
    ASSERT_EQ(created->Count(), 1);
    EXPECT_EQ(created->IconIndex(), endCallIcon);
    EXPECT_EQ(Control<QComboBox>(QStringLiteral("comboBox_Icons"))->currentIndex(), endCallIcon);

    SelectPalette(QStringLiteral("DTMF senden"));
    ActionPage(QStringLiteral("button_Add"), [](TActionDefinitionForm& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("edit_Text"))->setText(QStringLiteral("1"));
        Ok(dialog);
    });
    ASSERT_EQ(created->Count(), 2);
    EXPECT_NE(TActionOrvixDTMF().IconIndex(), endCallIcon);
    EXPECT_EQ(created->IconIndex(), endCallIcon);
    EXPECT_EQ(UsedActions()->currentRow(), 1) << "the new action is selected";
    EXPECT_EQ(trace.LastValue(QStringLiteral("ActionSequences::AddOrEditAction:Creating new action:")),
              QStringLiteral("DTMF senden"));
}

TEST_F(ActionSequences, CopyGetsTheNextFreeNameAndStandsOnItsOwn)
{
    Open();
    Click(QStringLiteral("button_Copy"));
    EXPECT_EQ(Texts(*Sequences()), (QStringList {"Popup", "Popup (Kopie)", "Notiz", "Popup (Kopie) (Kopie)"}));
    EXPECT_EQ(Sequences()->currentIndex(), 3);
    TActionSequence* copied = CopySequence(3);
    TActionSequence* original = CopySequence(0);
    EXPECT_EQ(form->ActiveActionSequence(), copied);
    ASSERT_EQ(copied->Count(), 3);
    EXPECT_EQ(UsedTexts(),
              (QStringList {"Starte: /bin/sh", balloon->GetDescription(), TActionStopper().GetDescription()}));
    for (int i = 0; i < copied->Count(); ++i)
        EXPECT_NE(copied->Action(i)->ID(), original->Action(i)->ID());

    ActionPage(QStringLiteral("button_EditAction"), [](TActionDefinitionForm& page) {
        page.findChild<QLineEdit*>(QStringLiteral("edit_Path"))->setText(QStringLiteral("/usr/bin/env"));
        Ok(page);
    });
    EXPECT_EQ(qobject_cast<TActionExecuteProgram*>(copied->Action(0))->ProgramPath(), QStringLiteral("/usr/bin/env"));
    EXPECT_EQ(qobject_cast<TActionExecuteProgram*>(original->Action(0))->ProgramPath(), QStringLiteral("/bin/sh"));
    EXPECT_EQ(UsedActions()->item(0)->text(), QStringLiteral("Starte: /usr/bin/env"));
}

TEST_F(ActionSequences, SequenceOfTwoRulesNamesThemAndStays)
{
    Open();
    EXPECT_EQ(Texts(*Control<QComboBox>(QStringLiteral("comboBox_UsedInRules"))), (QStringList {"Kunde", "Lieferant"}));
    const QString text = Box(QStringLiteral("button_Delete"), QMessageBox::Ok);
    EXPECT_EQ(text,
              QStringLiteral("Diese Aktionsfolge wird in folgenden Regeln verwendet:\r\n\r\nKunde\r\nLieferant"
                             "\r\n\r\nDie Aktionsfolge kann daher nicht gelöscht werden."));
    EXPECT_EQ(copy->ActionSequences().Count(), 3);
    EXPECT_EQ(form->ActiveActionSequence(), CopySequence(0));
}

TEST_F(ActionSequences, DeletedMiddleSequenceLeavesEveryRuleOnItsOwnAfterReload)
{
    AddRule(QStringLiteral("Notizen"), notiz);
    Open();
    Sequences()->setCurrentIndex(1);
    EXPECT_EQ(Control<QComboBox>(QStringLiteral("comboBox_UsedInRules"))->count(), 0);
    EXPECT_EQ(Box(QStringLiteral("button_Delete"), QMessageBox::Yes),
              QStringLiteral("Möchten Sie die Aktionsfolge \"Popup (Kopie)\" wirklich löschen?"));
    EXPECT_EQ(Texts(*Sequences()), (QStringList {"Popup", "Notiz"}));
    EXPECT_EQ(Sequences()->currentIndex(), 0);
    Sequences()->setCurrentIndex(1);
    Name(QStringLiteral("button_Rename"), QStringLiteral("Notiz neu"));
    EXPECT_EQ(Sequences()->currentText(), QStringLiteral("Notiz neu"));
    Click(QStringLiteral("button_OK"));
    EXPECT_EQ(form->result(), QDialog::Accepted);

    const QString file = QDir::temp().filePath(QStringLiteral("deleted-middle.xml"));
    ASSERT_TRUE(copy->SaveObjectsToXMLFile(file));
    TParameters reloaded;
    ASSERT_TRUE(reloaded.LoadObjectsFromXMLFile(file));
    const QStringList expected {popup->ID(), popup->ID(), notiz->ID()};
    ASSERT_EQ(reloaded.Rules().Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto* linked = qobject_cast<TBaseList*>(reloaded.Rules().Item<TRule>(i)->GetObject(0));
        ASSERT_NE(linked, nullptr);
        EXPECT_EQ(linked->ID(), expected[i]) << i;
    }
    EXPECT_EQ(qobject_cast<TBaseList*>(reloaded.Rules().Item<TRule>(2)->GetObject(0))->Name(),
              QStringLiteral("Notiz neu"));
}

TEST_F(ActionSequences, SequenceOfferedByMessagesNamesThemAndTakesTheButtonsAlong)
{
    balloon->SetAssociatedActionSequences({popupCopy->ID(), notiz->ID()});
    Open();
    Sequences()->setCurrentIndex(1);
    const QString question = Box(QStringLiteral("button_Delete"), QMessageBox::No);
    EXPECT_TRUE(question.contains(QStringLiteral("\r\nPopup: ") + balloon->GetDescription())) << question.toStdString();
    EXPECT_TRUE(question.endsWith(QStringLiteral("Möchten Sie die Aktionsfolge \"Popup (Kopie)\" wirklich löschen?")));
    EXPECT_EQ(copy->ActionSequences().Count(), 3);

    Box(QStringLiteral("button_Delete"), QMessageBox::Yes);
    EXPECT_EQ(Texts(*Sequences()), (QStringList {"Popup", "Notiz"}));
    const auto* message = qobject_cast<TActionBalloonMessage*>(CopySequence(0)->Action(1));
    EXPECT_EQ(message->AssociatedActionSequences(), QStringList {notiz->ID()});
}

TEST_F(ActionSequences, LockedEditorStaysOnThePresetSequence)
{
    Open(notiz, true);
    ASSERT_NE(form->ActiveActionSequence(), nullptr);
    EXPECT_NE(form->ActiveActionSequence(), notiz) << "the working copy's sequence, not the model's";
    EXPECT_EQ(form->ActiveActionSequence()->ID(), notiz->ID());
    EXPECT_EQ(Sequences()->currentText(), QStringLiteral("Notiz"));
    for (const char* name : {"comboBox_ActionSequences", "button_New", "button_Copy", "button_Delete"})
        EXPECT_FALSE(Enabled(QLatin1StringView(name))) << name;
    SelectPalette(QStringLiteral("Ruf annehmen"));
    for (const char* name : {"comboBox_Icons", "button_Rename", "button_Add", "button_Remove", "button_EditAction"})
        EXPECT_TRUE(Enabled(QLatin1StringView(name))) << name;

    Control<QComboBox>(QStringLiteral("comboBox_Icons"))->setCurrentIndex(7);
    EXPECT_EQ(form->ActiveActionSequence()->IconIndex(), 7);
    Name(QStringLiteral("button_Rename"), QStringLiteral("Notiz 2"));
    EXPECT_EQ(form->ActiveActionSequence()->Name(), QStringLiteral("Notiz 2"));
    ActionPage(QStringLiteral("button_Add"), Ok);
    EXPECT_EQ(form->ActiveActionSequence()->Count(), 2);
}

TEST_F(ActionSequences, SwitchingSequenceKeepsTheSelectionOnlyForTheSameAction)
{
    auto* twin = new TActionStopper;
    twin->SetID(balloon->ID());
    notiz->AddNewItem(twin);
    Open();
    UsedActions()->setCurrentRow(2);
    Sequences()->setCurrentIndex(1);
    EXPECT_EQ(UsedActions()->count(), 0);
    EXPECT_FALSE(Enabled(QStringLiteral("button_EditAction")));
    Sequences()->setCurrentIndex(0);
    EXPECT_EQ(UsedActions()->currentRow(), 0) << "nothing was selected, so the first entry is";

    UsedActions()->setCurrentRow(1);
    Sequences()->setCurrentIndex(2);
    EXPECT_EQ(UsedActions()->currentRow(), 1) << "the action with the same ID";
    Sequences()->setCurrentIndex(0);
    UsedActions()->setCurrentRow(2);
    Sequences()->setCurrentIndex(2);
    EXPECT_EQ(UsedActions()->currentRow(), -1);
    EXPECT_FALSE(Enabled(QStringLiteral("button_Remove")));
}

TEST_F(ActionSequences, ActionsAreMovedEditedAndRemoved)
{
    Open();
    TActionSequence* sequence = CopySequence(0);
    const QList<TBaseObject*> actions = sequence->MainList();
    EXPECT_EQ(UsedActions()->currentRow(), 0);
    EXPECT_FALSE(Enabled(QStringLiteral("button_Up")));
    Click(QStringLiteral("button_Down"));
    EXPECT_EQ(sequence->MainList(), (QList<TBaseObject*> {actions[1], actions[0], actions[2]}));
    EXPECT_EQ(UsedActions()->currentRow(), 1);
    EXPECT_EQ(UsedActions()->item(1)->text(), QStringLiteral("Starte: /bin/sh"));
    Click(QStringLiteral("button_Down"));
    EXPECT_EQ(UsedActions()->currentRow(), 2);
    EXPECT_FALSE(Enabled(QStringLiteral("button_Down")));
    Click(QStringLiteral("button_Up"));
    EXPECT_EQ(sequence->MainList(), (QList<TBaseObject*> {actions[1], actions[0], actions[2]}));

    EXPECT_EQ(
        ActionPage(QStringLiteral("button_EditAction"),
                   [](TActionDefinitionForm& page) {
                       page.findChild<QLineEdit*>(QStringLiteral("edit_Path"))->setText(QStringLiteral("/bin/true"));
                       Ok(page);
                   }),
        QStringLiteral("Aktion definieren"));
    EXPECT_EQ(UsedActions()->item(1)->text(), QStringLiteral("Starte: /bin/true"));
    EXPECT_EQ(UsedActions()->currentRow(), 1);
    GrabWindow(*form, QStringLiteral("action-sequences"));

    TMessageBox::SetNextAnswer(QMessageBox::No);
    Click(QStringLiteral("button_Remove"));
    EXPECT_EQ(sequence->Count(), 3);
    TraceCapture trace;
    TMessageBox::SetNextAnswer(QMessageBox::Yes);
    Click(QStringLiteral("button_DeleteAction"));
    EXPECT_EQ(sequence->MainList(), (QList<TBaseObject*> {actions[1], actions[2]}));
    EXPECT_EQ(UsedActions()->count(), 2);
    EXPECT_EQ(UsedActions()->currentRow(), 0);
    EXPECT_EQ(trace.LastValue(QStringLiteral("ActionSequences::RemoveAction:Deleting action:")),
              QStringLiteral("Program starten"));
}

TEST_F(ActionSequences, CancelledCommandsLeaveTheWorkingCopyByteForByte)
{
    Open();
    const std::string before = SavedText(*copy);
    Sequences()->setCurrentIndex(2);
    Sequences()->setCurrentIndex(0);
    Name(QStringLiteral("button_Rename"), QString());
    ActionPage(QStringLiteral("button_EditAction"), [](TActionDefinitionForm& page) {
        page.findChild<QLineEdit*>(QStringLiteral("edit_Path"))->setText(QStringLiteral("/bin/false"));
        page.reject();
    });
    SelectPalette(QStringLiteral("Aktions-Stopper"));
    ActionPage(QStringLiteral("button_Add"), [](TActionDefinitionForm& page) { page.reject(); });
    TMessageBox::SetNextAnswer(QMessageBox::No);
    Click(QStringLiteral("button_Remove"));
    Sequences()->setCurrentIndex(1);
    TMessageBox::SetNextAnswer(QMessageBox::No);
    Click(QStringLiteral("button_Delete"));
    Name(QStringLiteral("button_New"), QString());
    Click(QStringLiteral("button_Cancel"));

    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(SavedText(*copy), before);
}

// The parameters a dialog adds go with the dialog's copy of the action when it is cancelled.
TEST_F(ActionSequences, CancelledDialogDropsItsParameterEdits)
{
    Open(popup);
    UsedActions()->setCurrentRow(1);
    const std::string before = SavedText(*copy);
    ActionPage(QStringLiteral("button_EditAction"), [](TActionDefinitionForm& page) {
        AddUserParameter(page, QStringLiteral("Kundennummer"));
        ASSERT_EQ(page.findChild<QListWidget*>(QStringLiteral("ListBox_UsedParameters"))->count(), 1);
        page.reject();
    });
    EXPECT_EQ(SavedText(*copy), before);
}

// Return in the palette is the keyboard's double click: it adds the action and
// leaves the editor open, rather than pressing the editor's default button.
TEST_F(ActionSequences, ReturnInThePaletteAddsTheAction)
{
    Open(popup);
    auto* palette = Control<QTreeWidget>(QStringLiteral("listBox_AvailableBaseActions"));
    SelectPalette(QStringLiteral("Ruf beenden"));
    palette->setFocus();
    const bool shown = DriveModal<TActionDefinitionForm>(Ok, [&] { QTest::keyClick(palette, Qt::Key_Return); });
    EXPECT_TRUE(shown);
    EXPECT_EQ(CopySequence(0)->Count(), 4);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->result(), 0) << "the editor is neither accepted nor rejected";
}
