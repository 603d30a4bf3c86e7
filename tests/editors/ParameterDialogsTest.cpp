// SPDX-License-Identifier: GPL-3.0-or-later

#include "ModalDriver.h"
#include "TraceCapture.h"
#include "VelquistSimProcess.h"
#include "WaitUntil.h"
#include "WindowGrab.h"

#include "actions/ActionBalloonMessage.h"
#include "editors/definitions/ParamDefInteraktionComboBoxForm.h"
#include "editors/definitions/ParamDefInteraktionForm.h"
#include "editors/definitions/ParameterMultiForm.h"
#include "editors/definitions/ParametersFrame.h"
#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterKinds.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"
#include "parameters/Velquist.h"
#include "parameters/ui/InteractionForm.h"
#include "rulesfile/Parameters.h"
#include "widgets/MessageBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

template <typename T = QWidget>
T* Child(const QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1StringView(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Picks the entry with that caption, as a click in the list does.
void Pick(const QDialog& dialog, const char* list, const QString& caption)
{
    auto* combo = Child<QComboBox>(dialog, list);
    const int index = combo->findText(caption);
    ASSERT_GE(index, 0) << caption.toStdString();
    combo->setCurrentIndex(index);
}

void Type(const QDialog& dialog, const char* list, const QString& text)
{
    Child<QComboBox>(dialog, list)->setEditText(text);
}

// Clicks "OK" like the user; a disabled button does nothing.
void ClickOk(QDialog& dialog)
{
    Child<QPushButton>(dialog, "button_OK")->click();
}

std::string SavedText(const TParameters& parameters)
{
    const auto doc = parameters.SaveObjectsToXMLDoc();
    std::ostringstream out;
    doc->save(out, "\t");
    return out.str();
}

/**
 * A balloon message with one parameter of each kind, as the rules file loaded
 * them into the working copy the sequence editor hands to the action's dialog,
 * whose parameter panel the test plays. The field catalogue is the shipped one;
 * the directory lookup saves its result as the user variable "Projekt".
 */
class ParameterDialogs : public ::testing::Test
{
protected:
    ParameterDialogs()
    {
        model.Velquist()->SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
        model.Velquist()->ReadLDAPFields();
        auto* sequence = new TActionSequence;
        sequence->SetName(QStringLiteral("Anruf"));
        auto* balloon = new TActionBalloonMessage;
        balloon->AddNewItem(new TParameterOrvix);
        auto* velquist = new TParameterVelquist;
        velquist->SetSearchField(QStringLiteral("kundenfeld7"));
        velquist->SetParameterValue(QStringLiteral("displayname"));
        // Loading the rules makes the variable known to the line of the loaded parameters.
        velquist->SetSaveAsUserVariable(true);
        velquist->SetUserVariable(QStringLiteral("Projekt"));
        balloon->AddNewItem(velquist);
        auto* user = new TParameterUser;
        user->SetParameterValue(QStringLiteral("fest"));
        balloon->AddNewItem(user);
        auto* system = new TParameterSystem;
        system->SetParamType(spDate);
        system->SetDateFormat(QStringLiteral("dd.mm.yyyy"));
        balloon->AddNewItem(system);
        auto* interaction = new TParameterInteraction;
        interaction->SetCaption(QStringLiteral("Frage"));
        interaction->SetQuery(QStringLiteral("Welches Projekt?"));
        balloon->AddNewItem(interaction);
        auto* addressbook = new TParameterOutlookAddressbook;
        addressbook->SetSearchField(QStringLiteral("All"));
        addressbook->SetParameterValue(QStringLiteral("FullName"));
        addressbook->SetSearchOptionOrvixValue(QStringLiteral("orvixCallerNumber"));
        balloon->AddNewItem(addressbook);
        sequence->AddNewItem(balloon);
        model.ActionSequences().AddNewItem(sequence);

        copy = model.Clone();
        action = copy->ActionSequences().Item<TActionSequence>(0)->Action(0);
        frame.SetActiveAction(action, copy.get());
        frame.show();
    }

    ~ParameterDialogs() override
    {
        TMessageBox::ClearAnswers();
        TVelquist::SetBaseUrl({});
    }

    QListWidget* Used() const { return Child<QListWidget>(frame, "ListBox_UsedParameters"); }
    QListWidget* Available() const { return Child<QListWidget>(frame, "ListBox_AvailableParameters"); }
    void Click(const char* button) const { Child<QAbstractButton>(frame, button)->click(); }

    // Selects the used parameter at row, opens its dialog with the button and plays it.
    bool Play(int row, const char* button, const std::function<void(QDialog&)>& step) const
    {
        Used()->setCurrentRow(row);
        return DriveModal<QDialog>(step, [&] { Click(button); });
    }

    TParameters model;
    std::unique_ptr<TParameters> copy;
    TBaseAction* action = nullptr;
    TParametersFrame frame;
};

struct EditCase
{
    const char* name;
    int row;
    const char* caption;
    std::function<void(QDialog&)> change;
    std::function<void(const TBaseParameter&)> check;
};

const EditCase EditCases[] = {
    {"call value", 0, "Orvix-Parameter",
     [](QDialog& dialog) { Pick(dialog, "comboBox_OrvixParameters", QStringLiteral("Called Number")); },
     [](const TBaseParameter& parameter) {
         EXPECT_EQ(parameter.ParameterValue(), QStringLiteral("orvixCalledNumber"));
     }},
    {"directory lookup", 1, "Velquist-Parameter",
     [](QDialog& dialog) {
         // The stored search field is not in the catalogue: it stands as an entry of its own.
         EXPECT_EQ(Child<QComboBox>(dialog, "comboBox_SearchField")->currentText(), QStringLiteral("kundenfeld7"));
         Type(dialog, "comboBox_ReturnParameter", QStringLiteral("company"));
     },
     [](const TBaseParameter& parameter) {
         const auto& velquist = static_cast<const TParameterVelquist&>(parameter);
         EXPECT_EQ(velquist.ParameterValue(), QStringLiteral("company"));
         EXPECT_EQ(velquist.SearchField(), QStringLiteral("kundenfeld7"));
         EXPECT_EQ(velquist.SearchBase(), QStringLiteral("kestrunclient"));
     }},
    {"user variable", 2, "Benutzer-Parameter",
     [](QDialog& dialog) {
         Type(dialog, "comboBox_UserParameter", QStringLiteral("Projekt"));
         GrabWindow(dialog, QStringLiteral("parameter-user"));
     },
     [](const TBaseParameter& parameter) {
         EXPECT_EQ(parameter.ParameterValue(), QStringLiteral("Projekt"));
         EXPECT_TRUE(static_cast<const TParameterUser&>(parameter).IsVariable());
     }},
    {"user text", 2, "Benutzer-Parameter",
     [](QDialog& dialog) { Type(dialog, "comboBox_UserParameter", QStringLiteral("Projekt X")); },
     [](const TBaseParameter& parameter) {
         EXPECT_EQ(parameter.ParameterValue(), QStringLiteral("Projekt X"));
         EXPECT_FALSE(static_cast<const TParameterUser&>(parameter).IsVariable());
     }},
    {"system", 3, "System-Parameter",
     [](QDialog& dialog) {
         Child<QComboBox>(dialog, "comboBox_Type")->setCurrentIndex(spTime);
         Type(dialog, "comboBox_FormatTime", QStringLiteral("hh:nn:ss"));
     },
     [](const TBaseParameter& parameter) {
         EXPECT_EQ(static_cast<const TParameterSystem&>(parameter).ParamType(), spTime);
         EXPECT_EQ(parameter.ParameterValue(), QStringLiteral("spTime_hh_nn_ss"));
         EXPECT_EQ(static_cast<const TParameterSystem&>(parameter).DateFormat(), QStringLiteral("dd.mm.yyyy"));
     }},
    {"question", 4, "Interaktion definieren",
     [](QDialog& dialog) { Child<QLineEdit>(dialog, "edtQuery")->setText(QStringLiteral("Welche Kundennummer?")); },
     [](const TBaseParameter& parameter) {
         EXPECT_EQ(static_cast<const TParameterInteraction&>(parameter).Query(),
                   QStringLiteral("Welche Kundennummer?"));
         EXPECT_EQ(parameter.Caption(), QStringLiteral("Frage"));
     }},
    {"address book", 5, "Outlook-Adressbuch-Parameter",
     [](QDialog& dialog) {
         EXPECT_FALSE(Child(dialog, "comboBox_SearchBase")->isVisibleTo(&dialog));
         // A field may be named by its index digit.
         Type(dialog, "comboBox_ReturnParameter", QStringLiteral("3"));
         GrabWindow(dialog, QStringLiteral("parameter-address-book"));
     },
     [](const TBaseParameter& parameter) {
         EXPECT_EQ(parameter.ParameterValue(), QStringLiteral("3"));
         EXPECT_EQ(static_cast<const TParameterOutlookAddressbook&>(parameter).SearchField(), QStringLiteral("All"));
     }},
};

} // namespace

TEST_F(ParameterDialogs, EachKindIsEditedOnACopyThatOkPutsInPlaceAndCancelDrops)
{
    for (const EditCase& c : EditCases) {
        SCOPED_TRACE(c.name);
        const QString id = action->Parameter(c.row)->ID();
        const std::string before = SavedText(*copy);
        QString caption;
        EXPECT_TRUE(Play(c.row, "Button_Edit", [&](QDialog& dialog) {
            caption = dialog.windowTitle();
            c.change(dialog);
            dialog.reject();
        }));
        EXPECT_EQ(caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(SavedText(*copy), before);

        TBaseParameter* old = action->Parameter(c.row);
        EXPECT_TRUE(Play(c.row, "Button_Edit", [&](QDialog& dialog) {
            c.change(dialog);
            EXPECT_TRUE(Child(dialog, "button_OK")->isEnabled());
            ClickOk(dialog);
        }));
        TBaseParameter* edited = action->Parameter(c.row);
        ASSERT_NE(edited, nullptr);
        EXPECT_NE(edited, old);
        EXPECT_EQ(edited->ID(), id);
        EXPECT_EQ(action->Count(), 6);
        c.check(*edited);
        EXPECT_EQ(frame.ActiveParameter(), edited);
        EXPECT_EQ(Used()->currentItem()->text(), edited->GetDescription());
    }
}

TEST_F(ParameterDialogs, GroupHeaderCannotBeConfirmed)
{
    const std::string before = SavedText(*copy);
    EXPECT_TRUE(Play(0, "Button_Edit", [](QDialog& dialog) {
        Pick(dialog, "comboBox_OrvixParameters", QStringLiteral("-- Ausgehender Ruf --"));
        EXPECT_FALSE(Child(dialog, "button_OK")->isEnabled());
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        GrabWindow(dialog, QStringLiteral("parameter-call-value"));
    }));
    EXPECT_EQ(SavedText(*copy), before);
}

TEST_F(ParameterDialogs, EveryKindCanBeAddedAndRemovedParametersAreGone)
{
    const std::function<void(QDialog&)> fill[] = {
        [](QDialog&) {},
        [](QDialog& dialog) { Type(dialog, "comboBox_ReturnParameter", QStringLiteral("company")); },
        [](QDialog& dialog) { Type(dialog, "comboBox_UserParameter", QStringLiteral("Text")); },
        [](QDialog&) {},
        [](QDialog& dialog) { Child<QLineEdit>(dialog, "edtCaption")->setText(QStringLiteral("Titel")); },
        [](QDialog& dialog) {
            Pick(dialog, "comboBox_SearchField", QStringLiteral("All"));
            Pick(dialog, "comboBox_SearchOptionOrvix", QStringLiteral("Caller Number"));
            Pick(dialog, "comboBox_ReturnParameter", QStringLiteral("CompanyName"));
        },
    };
    ASSERT_EQ(Available()->count(), 6);
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(Available()->item(kind)->text().toStdString());
        Available()->setCurrentRow(kind);
        TraceCapture trace;
        EXPECT_TRUE(DriveModal<QDialog>(
            [&](QDialog& dialog) {
                fill[kind](dialog);
                ClickOk(dialog);
            },
            [&] { Click("Button_Add"); }));
        ASSERT_EQ(action->Count(), 7 + kind);
        TBaseParameter* added = action->Parameter(6 + kind);
        EXPECT_EQ(added->metaObject(), ParameterKinds()[std::size_t(kind)].Class);
        EXPECT_EQ(added->OrvixLine(), action->OrvixLine());
        EXPECT_EQ(frame.ActiveParameter(), added);
        EXPECT_EQ(trace.LastValue(QStringLiteral("Parameters::AddOrEditParameters:Creating new parameter:")),
                  added->Caption());
    }
    GrabWindow(frame, QStringLiteral("parameter-panel"));

    // A new parameter whose dialog is cancelled is not added.
    Available()->setCurrentRow(0);
    EXPECT_TRUE(DriveModal<QDialog>([](QDialog& dialog) { dialog.reject(); }, [&] { Click("Button_Add"); }));
    EXPECT_EQ(action->Count(), 12);

    // Up and down move the selection with the parameter.
    TBaseParameter* last = action->Parameter(11);
    Used()->setCurrentRow(11);
    EXPECT_FALSE(Child(frame, "Button_Down")->isEnabled());
    Click("Button_Up");
    EXPECT_EQ(action->Parameter(10), last);
    EXPECT_EQ(Used()->currentRow(), 10);

    TMessageBox::SetNextAnswer(QMessageBox::No);
    Click("Button_Delete");
    EXPECT_EQ(action->Count(), 12);
    TraceCapture trace;
    TMessageBox::SetNextAnswer(QMessageBox::Yes);
    Click("Button_Remove");
    EXPECT_EQ(action->Count(), 11);
    EXPECT_EQ(action->GetIndex(last), -1);
    EXPECT_EQ(Used()->count(), 11);
    EXPECT_EQ(Used()->currentRow(), 0);
    EXPECT_EQ(trace.LastValue(QStringLiteral("ActionSequences::RemoveParameter:Deleting parameter:")),
              QStringLiteral("Outlook-Parameter"));
    EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
}

TEST_F(ParameterDialogs, QuestionOptionsAreEditedAndWrittenOnOkOnly)
{
    const std::string before = SavedText(*copy);
    const auto addOption = [](QDialog& dialog, const QString& option) {
        EXPECT_TRUE(DriveModal<TParamDef_Interaktion_ComboBoxForm>(
            [&](TParamDef_Interaktion_ComboBoxForm& form) {
                EXPECT_FALSE(Child(form, "button_OK")->isEnabled());
                Child<QLineEdit>(form, "EditComboxInhalt")->setText(option);
                ClickOk(form);
            },
            [&] { Child<QPushButton>(dialog, "button_InsertItem")->click(); }));
    };
    for (const bool ok : {false, true}) {
        EXPECT_TRUE(Play(4, "Button_Edit", [&](QDialog& dialog) {
            EXPECT_FALSE(Child(dialog, "Panel2")->isVisibleTo(&dialog));
            Child<QRadioButton>(dialog, "radio_Combobox")->setChecked(true);
            EXPECT_TRUE(Child(dialog, "Panel2")->isVisibleTo(&dialog));
            Child<QLineEdit>(dialog, "edtCaption")->setText(QStringLiteral("Projektwahl"));
            addOption(dialog, QStringLiteral("rot"));
            addOption(dialog, QStringLiteral("grün"));
            addOption(dialog, QStringLiteral("blau"));
            auto* options = Child<QListWidget>(dialog, "UserItems");
            EXPECT_EQ(options->currentRow(), 2);
            options->setCurrentRow(0);
            QString question;
            EXPECT_TRUE(DriveModal<QMessageBox>(
                [&](QMessageBox& box) {
                    question = box.text();
                    box.button(QMessageBox::Yes)->click();
                },
                [&] { Child<QPushButton>(dialog, "button_DeleteItem")->click(); }));
            EXPECT_EQ(question, QStringLiteral("Möchten Sie die Option \"rot\" wirklich löschen?"));
            EXPECT_EQ(options->count(), 2);
            EXPECT_EQ(options->currentRow(), 0);
            Child<QToolButton>(dialog, "button_ItemDown")->click();
            EXPECT_EQ(options->item(1)->text(), QStringLiteral("grün"));
            // "Test..." shows the question as it stands in the real question window.
            QString title;
            QStringList answers;
            EXPECT_TRUE(DriveModal<TInteractionForm>(
                [&](TInteractionForm& window) {
                    title = window.windowTitle();
                    for (auto* list : window.findChildren<QComboBox*>()) {
                        for (int i = 0; i < list->count(); ++i)
                            answers.append(list->itemText(i));
                    }
                    window.reject();
                },
                [&] { Child<QPushButton>(dialog, "button_Test")->click(); }));
            EXPECT_EQ(title, QStringLiteral("Projektwahl"));
            EXPECT_EQ(answers, (QStringList {QStringLiteral("blau"), QStringLiteral("grün")}));
            if (ok) {
                GrabWindow(dialog, QStringLiteral("parameter-question"));
                ClickOk(dialog);
            } else {
                dialog.reject();
            }
        }));
        if (!ok) {
            EXPECT_EQ(SavedText(*copy), before);
        }
    }
    const auto* question = qobject_cast<const TParameterInteraction*>(action->Parameter(4));
    EXPECT_EQ(question->Caption(), QStringLiteral("Projektwahl"));
    EXPECT_FALSE(question->IsSimpleInput());
    EXPECT_EQ(question->ItemLines(), (QStringList {QStringLiteral("blau"), QStringLiteral("grün")}));
}

TEST_F(ParameterDialogs, SystemDialogShowsWhatTheParameterGivesNow)
{
    qputenv("KESTRUN_PARAMETER_TEST", "Wert <b>fett</b>");
    EXPECT_TRUE(Play(3, "Button_Edit", [](QDialog& dialog) {
        auto* preview = Child<QLabel>(dialog, "label_Preview");
        EXPECT_TRUE(preview->text().startsWith(QStringLiteral("Datum: ")));
        EXPECT_EQ(preview->text(),
                  QStringLiteral("Datum: ") + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
        Child<QComboBox>(dialog, "comboBox_Type")->setCurrentIndex(spEnvironmentVariable);
        EXPECT_EQ(Child<QLabel>(dialog, "label_Special")->text(), QStringLiteral("Variable:"));
        EXPECT_TRUE(Child(dialog, "comboBox_EnvironmentVariables")->isVisibleTo(&dialog));
        EXPECT_FALSE(Child(dialog, "comboBox_FormatDate")->isVisibleTo(&dialog));
        Type(dialog, "comboBox_EnvironmentVariables", QStringLiteral("KESTRUN_PARAMETER_TEST"));
        EXPECT_EQ(preview->text(), QStringLiteral("KESTRUN_PARAMETER_TEST: Wert <b>fett</b>"));
        EXPECT_EQ(preview->textFormat(), Qt::PlainText);
        Child<QComboBox>(dialog, "comboBox_Type")->setCurrentIndex(spComputername);
        EXPECT_FALSE(Child(dialog, "label_Special")->isVisibleTo(&dialog));
        EXPECT_TRUE(preview->text().startsWith(QStringLiteral("Computer: ")));
        Child<QComboBox>(dialog, "comboBox_Type")->setCurrentIndex(spTime);
        GrabWindow(dialog, QStringLiteral("parameter-system"));
        dialog.reject();
    }));
    qunsetenv("KESTRUN_PARAMETER_TEST");
}

TEST_F(ParameterDialogs, LookupTestFindsTheCallerAndSaysWhenTheServerIsGone)
{
    VelquistSimProcess sim;
    const QString host = sim.Start(QStringLiteral(VELQUIST_SIM), QStringLiteral(VELQUIST_SIM_CONTACTS));
    ASSERT_FALSE(host.isEmpty()) << sim.Output().toStdString();
    TVelquist::SetBaseUrl(QStringLiteral("http://") + host);

    TParameterVelquist parameter;
    parameter.SetOrvixLine(model.OrvixLine());
    parameter.SetParameterValue(QStringLiteral("company"));
    TParameterMultiForm dialog(parameter, {true, model.Velquist()});
    dialog.show();
    auto* test = Child<QPushButton>(dialog, "button_Test");
    auto* result = Child<QLabel>(dialog, "label_TestResult");
    auto* fields = Child<QTreeWidget>(dialog, "treeWidget_TestResult");
    EXPECT_FALSE(test->isEnabled());
    Child<QLineEdit>(dialog, "edit_TestValue")->setText(QStringLiteral("+49 30 1234567"));
    ASSERT_TRUE(test->isEnabled());
    test->click();
    EXPECT_TRUE(dialog.Testing());
    EXPECT_FALSE(test->isEnabled());
    ASSERT_TRUE(WaitUntil([&] { return !dialog.Testing(); }, 30000));
    EXPECT_TRUE(result->text().startsWith(QStringLiteral("Gefunden"))) << result->text().toStdString();
    ASSERT_NE(fields->currentItem(), nullptr);
    EXPECT_EQ(fields->currentItem()->text(1), QStringLiteral("Berg Logistik GmbH"));
    GrabWindow(dialog, QStringLiteral("parameter-directory-lookup"));

    sim.Stop();
    test->click();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.Testing(); }, 30000));
    EXPECT_EQ(result->text(), QStringLiteral("Der Verzeichnisserver http://%1 ist nicht erreichbar.").arg(host));
    EXPECT_EQ(fields->topLevelItemCount(), 0);

    TVelquist::SetBaseUrl({});
    test->click();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.Testing(); }, 30000));
    EXPECT_TRUE(result->text().startsWith(QStringLiteral("Kein Verzeichnisserver gefunden")));
}
