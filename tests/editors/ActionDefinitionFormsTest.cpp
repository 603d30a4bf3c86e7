// SPDX-License-Identifier: GPL-3.0-or-later

#include "ModalDriver.h"
#include "ParameterFrameDriver.h"
#include "ScopedEnvironment.h"
#include "TestFiles.h"

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
#include "actions/ActionOutlookItems.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"
#include "editors/ActionDefinitionForms.h"
#include "editors/definitions/AktionSendEMailForm.h"
#include "editors/definitions/ExtendedParameterForm.h"
#include "editors/definitions/ParameterUserForm.h"
#include "editors/definitions/ParametersFrame.h"
#include "editors/definitions/ProgramChooser.h"
#include "editors/definitions/TemplateEditorForm.h"
#include "editors/definitions/TemplateFrame.h"
#include "model/ActionSequence.h"
#include "parameters/ParameterUser.h"
#include "rulesfile/Parameters.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

namespace {

std::string SavedText(const TParameters& parameters)
{
    const auto doc = parameters.SaveObjectsToXMLDoc();
    std::ostringstream out;
    doc->save(out, "\t");
    return out.str();
}

template <typename T = QWidget>
T* Child(const QWidget& form, const char* name)
{
    T* child = form.findChild<T*>(QLatin1StringView(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void SetText(const QWidget& form, const char* name, const QString& text)
{
    Child<QLineEdit>(form, name)->setText(text);
}

QStringList ListTexts(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}

} // namespace

// A rules file with one action of every kind in the sequence "Kunde", loaded the
// way the program loads it; the dialogs open on the loaded actions.
class ActionDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TParameters built;
        auto* kunde = new TActionSequence;
        kunde->SetName(QStringLiteral("Kunde"));
        built.ActionSequences().AddNewItem(kunde);
        for (const QString& name : {QStringLiteral("Rückruf"), QStringLiteral("Notiz")}) {
            auto* other = new TActionSequence;
            other->SetName(name);
            built.ActionSequences().AddNewItem(other);
        }
        for (const TActionKind& kind : ActionKinds()) {
            std::unique_ptr<TBaseAction> action = kind.Make();
            if (auto* dde = qobject_cast<TActionDDEMessage*>(action.get())) {
                dde->SetDDEService(QStringLiteral("crm"));
                dde->SetDDETopic(QStringLiteral("call"));
                auto* number = new TParameterUser;
                number->SetParameterValue(QStringLiteral("0301234"));
                dde->AddNewItem(number);
            }
            kunde->AddNewItem(action.release());
        }
        rulesFile = folder.filePath(QStringLiteral("rules.xml"));
        ASSERT_TRUE(built.SaveObjectsToXMLFile(rulesFile));
        ASSERT_TRUE(model.LoadObjectsFromXMLFile(rulesFile));
        sequence = model.ActionSequences().Item<TActionSequence>(0);
        ASSERT_EQ(sequence->Count(), int(ActionKinds().size()));
    }

    void TearDown() override
    {
        EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
        TMessageBox::ClearAnswers();
    }

    template <typename T>
    T* ActionOf(const TParameters& parameters) const
    {
        const auto* kunde = parameters.ActionSequences().Item<TActionSequence>(0);
        for (int i = 0; i < kunde->Count(); ++i) {
            if (auto* action = qobject_cast<T*>(kunde->Action(i));
                action && action->metaObject() == &T::staticMetaObject)
                return action;
        }
        ADD_FAILURE() << T::staticMetaObject.className();
        return nullptr;
    }

    std::unique_ptr<TActionDefinitionForm> Open(TBaseAction& action)
    {
        std::unique_ptr<TActionDefinitionForm> form = MakeActionDefinitionForm(action, {&model, sequence}, nullptr);
        if (form)
            form->show();
        return form;
    }

    // The model as the program reads it back from the saved rules file.
    std::unique_ptr<TParameters> SavedAndLoaded()
    {
        EXPECT_TRUE(model.SaveObjectsToXMLFile(rulesFile));
        auto loaded = std::make_unique<TParameters>();
        EXPECT_TRUE(loaded->LoadObjectsFromXMLFile(rulesFile));
        return loaded;
    }

    QTemporaryDir folder;
    QString rulesFile;
    TParameters model;
    TActionSequence* sequence = nullptr;
};

// Every kind with a dialog: one value changed and confirmed reaches the model and
// the rules file; the same change cancelled leaves the action as it was.
TEST_F(ActionDialogs, EveryKindWritesItsFieldOnOkAndNothingOnCancel)
{
    struct TCase
    {
        std::function<void(QWidget&)> Edit;
        std::function<void(const TParameters&)> Check;
    };
    const QString caption = QStringLiteral("Rückruf <Berg>");
    const auto captionCase = [&]<typename T>(T*, const char* field) {
        return TCase {
            [&caption, field](QWidget& form) {
                SetText(form, field, caption);
                // An item's template is checked; this test is about the caption.
                if (auto* active = form.findChild<QCheckBox*>(QStringLiteral("checkBox_Active")))
                    active->setChecked(false);
            },
            [this, &caption](const TParameters& saved) { EXPECT_EQ(ActionOf<T>(saved)->Caption(), caption); }};
    };
    std::map<const QMetaObject*, TCase> cases {
        {&TActionExecuteProgram::staticMetaObject,
         {[](QWidget& form) {
              SetText(form, "edit_Path", QStringLiteral("/usr/bin/printf"));
              Child<QCheckBox>(form, "checkBox_WaitForTerminate")->setChecked(true);
          },
          [this](const TParameters& saved) {
              EXPECT_EQ(ActionOf<TActionExecuteProgram>(saved)->ProgramPath(), QStringLiteral("/usr/bin/printf"));
              EXPECT_TRUE(ActionOf<TActionExecuteProgram>(saved)->WaitForTerminate());
          }}},
        {&TActionOpenDocument::staticMetaObject,
         {[](QWidget& form) { SetText(form, "edit_Path", QStringLiteral("/tmp/Angebot 7.pdf")); },
          [this](const TParameters& saved) {
              EXPECT_EQ(ActionOf<TActionOpenDocument>(saved)->DocPath(), QStringLiteral("/tmp/Angebot 7.pdf"));
          }}},
        {&TActionDDEMessage::staticMetaObject,
         {[](QWidget& form) { SetText(form, "edit_Topic", QStringLiteral("Anruf")); },
          [this](const TParameters& saved) {
              EXPECT_EQ(ActionOf<TActionDDEMessage>(saved)->DDETopic(), QStringLiteral("Anruf"));
          }}},
        {&TActionSendEMail::staticMetaObject,
         {[](QWidget& form) { SetText(form, "edit_Subject", QStringLiteral("Rückruf; bitte")); },
          [this](const TParameters& saved) {
              EXPECT_EQ(ActionOf<TActionSendEMail>(saved)->ParameterList().value(1),
                        QStringLiteral("1;Subject;Rückruf; bitte"));
          }}},
        {&TActionOutlookSendMail::staticMetaObject,
         {[](QWidget& form) { Child<QCheckBox>(form, "checkBox_SendImmediately")->setChecked(true); },
          [this](const TParameters& saved) {
              EXPECT_TRUE(ActionOf<TActionOutlookSendMail>(saved)->SendEMailImmediately());
          }}},
        {&TActionBalloonMessage::staticMetaObject,
         {[](QWidget& form) {
              Child<QCheckBox>(form, "checkBox_TimeOut")->setChecked(true);
              Child<QSpinBox>(form, "spinBox_TimeOutSec")->setValue(30);
          },
          [this](const TParameters& saved) {
              EXPECT_EQ(ActionOf<TActionBalloonMessage>(saved)->TimeOutSec(), 30);
              EXPECT_TRUE(ActionOf<TActionBalloonMessage>(saved)->TimeOut());
          }}},
        {&TActionHTMLMessage::staticMetaObject,
         {[](QWidget& form) { SetText(form, "edit_Height", QStringLiteral("480")); },
          [this](const TParameters& saved) {
              EXPECT_EQ(ActionOf<TActionHTMLMessage>(saved)->HTMLMessageHeight(), QStringLiteral("480"));
          }}},
        {&TActionOutlookJournal::staticMetaObject,
         captionCase(static_cast<TActionOutlookJournal*>(nullptr), "edit_Caption")},
        {&TActionOutlookCalendar::staticMetaObject,
         captionCase(static_cast<TActionOutlookCalendar*>(nullptr), "edit_Caption")},
        {&TActionOutlookNote::staticMetaObject, captionCase(static_cast<TActionOutlookNote*>(nullptr), "edit_Caption")},
        {&TActionOutlookTask::staticMetaObject, captionCase(static_cast<TActionOutlookTask*>(nullptr), "edit_Caption")},
        {&TActionStopper::staticMetaObject,
         {[](QWidget& form) { Child<QRadioButton>(form, "radioButton_All")->setChecked(true); },
          [this](const TParameters& saved) { EXPECT_TRUE(ActionOf<TActionStopper>(saved)->BlockAllActions()); }}},
        {&TActionOrvixTakeCall::staticMetaObject,
         captionCase(static_cast<TActionOrvixTakeCall*>(nullptr), "edit_Text")},
        {&TActionOrvixEndCall::staticMetaObject, captionCase(static_cast<TActionOrvixEndCall*>(nullptr), "edit_Text")},
        {&TActionOrvixBlockCaller::staticMetaObject,
         captionCase(static_cast<TActionOrvixBlockCaller*>(nullptr), "edit_Text")},
        {&TActionOrvixDTMF::staticMetaObject,
         {[](QWidget& form) { SetText(form, "edit_Text", QStringLiteral("12#*")); },
          [this](const TParameters& saved) {
              EXPECT_EQ(ActionOf<TActionOrvixDTMF>(saved)->DtmfSigns(), QStringLiteral("12#*"));
          }}},
    };

    for (const TActionKind& kind : ActionKinds()) {
        SCOPED_TRACE(kind.Class->className());
        TBaseAction* action = nullptr;
        for (int i = 0; i < sequence->Count(); ++i) {
            if (sequence->Action(i)->metaObject() == kind.Class)
                action = sequence->Action(i);
        }
        ASSERT_NE(action, nullptr);
        if (kind.Dialog == TActionDialog::None) {
            EXPECT_EQ(Open(*action), nullptr);
            continue;
        }
        const auto found = cases.find(kind.Class);
        ASSERT_NE(found, cases.end()) << "a kind with a dialog needs a case here";
        const TCase& test = found->second;

        // "Abbrechen" works on the copy the sequence editor hands, as OK does.
        const std::string before = SavedText(model);
        {
            std::unique_ptr<TBaseAction> copy = model.CopyAction(*action);
            const auto form = Open(*copy);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->windowTitle(),
                      qobject_cast<TActionSendEMail*>(action) ? action->Caption() : kind.DialogCaption);
            test.Edit(*form);
            form->reject();
        }
        EXPECT_EQ(SavedText(model), before);

        const auto form = Open(*action);
        test.Edit(*form);
        ASSERT_TRUE(form->OkButton()->isEnabled());
        form->OkButton()->click();
        EXPECT_EQ(form->result(), QDialog::Accepted);
        test.Check(*SavedAndLoaded());
    }
}

// A message offers the sequences of the editor's working copy, a new one among
// them, but never the sequence it belongs to; a sequence may be offered twice.
TEST_F(ActionDialogs, MessageOffersTheWorkingCopysSequencesButNotItsOwn)
{
    auto* added = new TActionSequence;
    added->SetName(QStringLiteral("Neu im Editor"));
    model.ActionSequences().AddNewItem(added);
    auto* message = ActionOf<TActionBalloonMessage>(model);
    const auto form = Open(*message);
    auto* available = Child<QListWidget>(*form, "listBox_Available");
    EXPECT_EQ(ListTexts(*available), (QStringList {"Rückruf", "Notiz", "Neu im Editor"}));
    available->setCurrentRow(2);
    Child<QToolButton>(*form, "button_Add")->click();
    Child<QToolButton>(*form, "button_Add")->click();
    available->setCurrentRow(0);
    Child<QToolButton>(*form, "button_Add")->click();
    Child<QToolButton>(*form, "button_Up")->click();
    auto* used = Child<QListWidget>(*form, "listBox_Used");
    EXPECT_EQ(ListTexts(*used), (QStringList {"Neu im Editor", "Rückruf", "Neu im Editor"}));
    EXPECT_FALSE(Child<QSpinBox>(*form, "spinBox_TimeOutSec")->isEnabled() &&
                 !Child<QCheckBox>(*form, "checkBox_TimeOut")->isChecked());
    EXPECT_EQ(Child<QSpinBox>(*form, "spinBox_TimeOutSec")->maximum(), 2147483);
    SetText(*form, "edit_Caption", QStringLiteral("   "));
    EXPECT_FALSE(form->OkButton()->isEnabled());
    SetText(*form, "edit_Caption", QStringLiteral("Kunde ruft an"));
    form->OkButton()->click();
    const QString rueckruf = model.ActionSequences().Item<TActionSequence>(1)->ID();
    EXPECT_EQ(message->AssociatedActionSequences(), (QStringList {added->ID(), rueckruf, added->ID()}));
}

TEST_F(ActionDialogs, HtmlSizesTakeOnlyPixelNumbers)
{
    const auto form = Open(*ActionOf<TActionHTMLMessage>(model));
    auto* width = Child<QLineEdit>(*form, "edit_Width");
    auto* height = Child<QLineEdit>(*form, "edit_Height");
    Child<QCheckBox>(*form, "checkBox_DefaultWidth")->setChecked(false);
    for (QLineEdit* edit : {width, height}) {
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("4x0-0"));
        EXPECT_EQ(edit->text(), QStringLiteral("400"));
    }
    EXPECT_TRUE(form->OkButton()->isEnabled());
    height->clear();
    EXPECT_FALSE(form->OkButton()->isEnabled()) << "a window without a height never shows";
    height->setText(QStringLiteral("300"));
    width->clear();
    EXPECT_FALSE(form->OkButton()->isEnabled());
    Child<QCheckBox>(*form, "checkBox_DefaultWidth")->setChecked(true);
    EXPECT_FALSE(width->isEnabled());
    EXPECT_TRUE(form->OkButton()->isEnabled()) << "the default width needs no width of its own";
}

TEST_F(ActionDialogs, PathNotFoundIsShownAndMayBeConfirmed)
{
    auto* program = ActionOf<TActionExecuteProgram>(model);
    const auto form = Open(*program);
    auto* warning = Child<QLabel>(*form, "label_Warning");
    SetText(*form, "edit_Path", QStringLiteral("/bin/sh"));
    EXPECT_TRUE(warning->text().isEmpty());
    // Found where the action will look when it runs.
    const ScopedEnvironment bin("KESTRUN_TEST_BIN", QByteArray("/bin"));
    SetText(*form, "edit_Path", QStringLiteral("%KESTRUN_TEST_BIN%/sh"));
    EXPECT_TRUE(warning->text().isEmpty());
    SetText(*form, "edit_Path", folder.filePath(QStringLiteral("fehlt.sh")));
    EXPECT_EQ(warning->text(), QStringLiteral("Pfad nicht gefunden"));
    form->OkButton()->click();
    EXPECT_EQ(program->ProgramPath(), folder.filePath(QStringLiteral("fehlt.sh")));
}

TEST(ProgramChooser, OffersFilesWithTheRunBitAndScripts)
{
    QTemporaryDir folder;
    const auto file = [&](const QString& name, bool executable) {
        const QString path = folder.filePath(name);
        WriteFile(path, "#!/bin/sh\n");
        QFile(path).setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                              : QFile::ReadOwner | QFile::WriteOwner);
        return QFileInfo(path);
    };
    EXPECT_TRUE(IsProgramOrScript(file(QStringLiteral("crm-client"), true)));
    EXPECT_TRUE(IsProgramOrScript(file(QStringLiteral("anruf.PY"), false)));
    EXPECT_FALSE(IsProgramOrScript(file(QStringLiteral("notiz.txt"), false)));
    EXPECT_FALSE(IsProgramOrScript(QFileInfo(folder.path())));
}

TEST_F(ActionDialogs, CommandWithoutParametersCannotBeConfirmed)
{
    auto* command = ActionOf<TActionDDEMessage>(model);
    command->ClearList();
    const auto form = Open(*command);
    EXPECT_FALSE(form->OkButton()->isEnabled());
    AddUserParameter(*form, QStringLiteral("Kundennummer"));
    EXPECT_TRUE(form->OkButton()->isEnabled());
    SetText(*form, "edit_Service", QString());
    EXPECT_FALSE(form->OkButton()->isEnabled());
}

TEST_F(ActionDialogs, ItemNamesEveryWrongFieldInOneMessage)
{
    auto* note = ActionOf<TActionOutlookNote>(model);
    const auto form = Open(*note);
    SetText(*form, "edit_Caption", QStringLiteral("  "));
    Child<QCheckBox>(*form, "checkBox_Active")->setChecked(true);
    SetText(*form, "edit_Template", folder.filePath(QStringLiteral("fehlt.txt")));
    QString text;
    EXPECT_TRUE(DriveModal<QMessageBox>(
        [&](QMessageBox& box) {
            text = box.text();
            box.accept();
        },
        [&] { form->OkButton()->click(); }));
    EXPECT_EQ(text,
              QStringLiteral("Die folgenden Felder sind nicht sachgemäß ausgefüllt:\n\n- Bezeichnung\n"
                             "- Gültiges Templatefile auswählen"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->focusWidget(), Child(*form, "edit_Caption"));
    EXPECT_EQ(note->Caption(), TActionOutlookNote().Caption());
}

TEST_F(ActionDialogs, DtmfTakesOnlyWhatTheSoftphoneSends)
{
    auto* dtmf = ActionOf<TActionOrvixDTMF>(model);
    const QString before = dtmf->DtmfSigns();
    const auto form = Open(*dtmf);
    SetText(*form, "edit_Text", QStringLiteral("12;rm"));
    TMessageBox::SetNextAnswer(QMessageBox::Ok);
    form->OkButton()->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dtmf->DtmfSigns(), before);
}

TEST_F(ActionDialogs, AttachmentIsListedOnce)
{
    const QString offer = folder.filePath(QStringLiteral("Angebot.pdf"));
    WriteFile(offer, "%PDF");
    auto* mail = ActionOf<TActionOutlookSendMail>(model);
    const auto form = Open(*mail);
    auto* dialog = qobject_cast<TAktionSendEMailForm*>(form.get());
    ASSERT_NE(dialog, nullptr);
    const QString missing = folder.filePath(QStringLiteral("Preise.pdf"));
    QStringList chosen {offer, missing, offer};
    dialog->ChooseAttachment = [&](QWidget*) { return chosen.takeFirst(); };
    Child<QCheckBox>(*form, "checkBox_Attachments")->setChecked(true);
    auto* add = Child<QToolButton>(*form, "button_AddAttachment");
    add->click();
    add->click();
    TMessageBox::SetNextAnswer(QMessageBox::Ok);
    add->click();
    auto* list = Child<QListWidget>(*form, "listBox_Attachments");
    EXPECT_EQ(ListTexts(*list), (QStringList {offer, QStringLiteral("(Nicht gefunden) ") + missing}));
    EXPECT_TRUE(list->item(1)->font().italic());
    Child<QToolButton>(*form, "button_RemoveAttachment")->click();
    EXPECT_EQ(list->currentRow(), 0);
    form->OkButton()->click();
    EXPECT_EQ(mail->Attachments(), QStringList {offer});
    EXPECT_TRUE(mail->AttachmentsActive());
}

// A field's parameters are edited on a copy of its inner action: "Abbrechen" in
// "Erweiterte Parameterangabe" keeps the field as it was, OK takes them, and the
// inner actions are the same ones after saving and loading.
TEST_F(ActionDialogs, ExtendedParametersAreKeptOnlyOnOk)
{
    auto* mail = ActionOf<TActionSendEMail>(model);
    const auto openSubject = [&](TAktionSendEMailForm& dialog, bool ok) {
        EXPECT_TRUE(DriveModal<TExtendedParameterForm>(
            [&](TExtendedParameterForm& extended) {
                AddUserParameter(extended, QStringLiteral("Kundennummer"));
                Child<QCheckBox>(extended, "checkBox_Active")->setChecked(true);
                ok ? extended.OkButton()->click() : extended.reject();
            },
            [&] { dialog.ShowParameterForm(TActionSendEMail::FieldSubject); }));
    };
    {
        const auto form = Open(*mail);
        auto* dialog = qobject_cast<TAktionSendEMailForm*>(form.get());
        openSubject(*dialog, false);
        EXPECT_TRUE(Child<QLineEdit>(*form, "edit_Subject")->isEnabled());
        openSubject(*dialog, true);
        auto* subject = Child<QLineEdit>(*form, "edit_Subject");
        EXPECT_EQ(subject->text(), QStringLiteral("Erweiterter Parameter ist aktiviert"));
        EXPECT_FALSE(subject->isEnabled());
        form->OkButton()->click();
    }
    // The fixed text stays behind the parameters.
    EXPECT_EQ(mail->ParameterList().value(1), QStringLiteral("1;Subject;Beispielbetreff"));
    const TActionSendEMail* inner = mail->InnerBaseActionForField(TActionSendEMail::FieldSubject);
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(inner->Active());
    ASSERT_EQ(inner->Count(), 1) << "the cancelled parameter is not kept";

    const auto loaded = SavedAndLoaded();
    auto* reloaded = ActionOf<TActionSendEMail>(*loaded);
    const size_t innerCount = reloaded->InnerBaseActions().size();
    EXPECT_EQ(innerCount, 5U);
    TParameters& again = *loaded;
    const auto form = MakeActionDefinitionForm(*reloaded, {&again, nullptr}, nullptr);
    form->OkButton()->click();
    EXPECT_EQ(reloaded->InnerBaseActions().size(), innerCount) << "no inner action is made twice";
    EXPECT_EQ(reloaded->InnerBaseActionForField(TActionSendEMail::FieldSubject)->Count(), 1);
}

TEST_F(ActionDialogs, MailTemplateFrameWritesTheTemplateEntry)
{
    const QString letter = folder.filePath(QStringLiteral("brief.txt"));
    WriteFile(letter, "Guten Tag,\n");
    auto* mail = ActionOf<TActionSendEMail>(model);
    for (const bool active : {true, false}) {
        const auto form = Open(*mail);
        Child<QCheckBox>(*form, "checkBox_Active")->setChecked(active);
        SetText(*form, "edit_Template", letter);
        form->OkButton()->click();
        EXPECT_EQ(mail->ParameterList().value(TActionSendEMail::FieldTemplate),
                  (active ? QStringLiteral("1;Template;") : QStringLiteral("0;Template;")) + letter);
    }
}

// A customer card made from nothing in the HTML dialog: "Neu..." writes the sample,
// the editor inserts the action's parameter and a typed tag, and the parameters
// follow the template; a parameter whose tag left it goes only when the user agrees.
TEST_F(ActionDialogs, NewTemplateBringsTheParametersInStep)
{
    auto* message = ActionOf<TActionHTMLMessage>(model);
    const auto form = Open(*message);
    AddUserParameter(*form, QStringLiteral("Firma"));
    auto* frame = form->findChild<TTemplateFrame*>();
    ASSERT_NE(frame, nullptr);
    const QString card = folder.filePath(QStringLiteral("karte.html"));
    frame->ChooseSaveFile = [&](QWidget*, const QString&, const QString&, const QString&) { return card; };
    const auto edit = [&](const std::function<void(TTemplateEditorForm&)>& step, const char* button) {
        EXPECT_TRUE(DriveModal<TTemplateEditorForm>(step, [&] { Child<QPushButton>(*frame, button)->click(); }));
    };
    edit(
        [](TTemplateEditorForm& editor) {
            EXPECT_TRUE(editor.windowTitle().startsWith(QStringLiteral("karte.html - ")));
            auto* text = Child<QPlainTextEdit>(editor, "memo_Template");
            text->moveCursor(QTextCursor::End);
            Child<QListWidget>(editor, "listBox_Parameters")->setCurrentRow(0);
            Child<QPushButton>(editor, "button_Insert")->click();
            text->insertPlainText(QStringLiteral("<p><#saOrvix Value=\"orvixCallerName\"></p>"));
            Child<QPushButton>(editor, "button_OK")->click();
        },
        "button_New");
    auto* used = Child<QListWidget>(*form, "ListBox_UsedParameters");
    ASSERT_EQ(used->count(), 2) << "the typed tag got its parameter";
    const QByteArray written = ReadFile(card);
    EXPECT_TRUE(written.contains(R"(<#saUserParam Value="Firma">)")) << written.toStdString();

    // A path as the rules file may hold it is edited where the action reads it.
    const ScopedEnvironment cards("KESTRUN_TEST_CARDS", folder.path().toUtf8());
    SetText(*form, "edit_Template", QStringLiteral("%KESTRUN_TEST_CARDS%/karte.html"));
    EXPECT_TRUE(Child(*frame, "button_Edit")->isEnabled());

    // The user's parameter is selected while its tag leaves the template.
    used->setCurrentRow(0);
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        TMessageBox::SetNextAnswer(answer);
        edit(
            [](TTemplateEditorForm& editor) {
                auto* text = Child<QPlainTextEdit>(editor, "memo_Template");
                const QString kept = text->toPlainText().remove(QStringLiteral(R"(<#saUserParam Value="Firma">)"));
                text->selectAll();
                text->insertPlainText(kept);
                Child<QPushButton>(editor, "button_OK")->click();
            },
            "button_Edit");
        EXPECT_EQ(used->count(), answer == QMessageBox::Yes ? 1 : 2);
    }
    form->OkButton()->click();
    EXPECT_EQ(message->HTMLTemplate(), QStringLiteral("%KESTRUN_TEST_CARDS%/karte.html"));
    ASSERT_EQ(message->Count(), 1);
    EXPECT_EQ(message->Parameter(0)->Caption(), QStringLiteral("orvixCallerName"));
}
