// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ModalDriver.h"
#include "actions/ActionBalloonMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionStopper.h"
#include "editors/ActionDefinitionForms.h"
#include "editors/ActionSequencesForm.h"
#include "editors/NameForm.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"
#include "widgets/MessageBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

// A model as the rule list window hands it over: "Popup" (a program, a message
// and a stopper) linked by two rules, an unused "Popup (Kopie)" and "Notiz".
// The editor works on a working copy of it.
class ActionSequences : public ::testing::Test
{
protected:
    ActionSequences()
    {
        popup = AddSequence(QStringLiteral("Popup"));
        program = new TActionExecuteProgram;
        program->SetProgramPath(QStringLiteral("/bin/sh"));
        popup->AddNewItem(program);
        balloon = new TActionBalloonMessage;
        popup->AddNewItem(balloon);
        popup->AddNewItem(new TActionStopper);
        popupCopy = AddSequence(QStringLiteral("Popup (Kopie)"));
        notiz = AddSequence(QStringLiteral("Notiz"));
        notiz->SetIconIndex(5);
        notiz->AddNewItem(new TActionStopper);
        AddRule(QStringLiteral("Kunde"), popup);
        AddRule(QStringLiteral("Lieferant"), popup);
    }

    TActionSequence* AddSequence(const QString& name)
    {
        auto* sequence = new TActionSequence;
        sequence->SetName(name);
        model.ActionSequences().AddNewItem(sequence);
        return sequence;
    }

    void AddRule(const QString& name, TActionSequence* sequence)
    {
        auto* rule = new TRule;
        rule->SetName(name);
        rule->AddNewItem(sequence);
        model.Rules().AddNewItem(rule);
    }

    // Opens the editor on a fresh working copy of the model.
    TActionSequencesForm& Open(const TActionSequence* preset = nullptr, bool locked = false)
    {
        copy = model.Clone();
        form = std::make_unique<TActionSequencesForm>(*copy);
        if (preset)
            form->SetActiveActionSequence(preset);
        form->SetLocked(locked);
        form->show();
        return *form;
    }

    TActionSequence* CopySequence(int index) const { return copy->ActionSequences().Item<TActionSequence>(index); }

    template <typename T = QWidget>
    T* Control(const QString& name) const
    {
        T* control = form->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }

    QComboBox* Sequences() const { return Control<QComboBox>(QStringLiteral("comboBox_ActionSequences")); }
    QListWidget* UsedActions() const { return Control<QListWidget>(QStringLiteral("listBox_UsedBaseActions")); }

    // Clicks like the user: a disabled button does nothing.
    void Click(const QString& name) const { Control<QAbstractButton>(name)->click(); }
    bool Enabled(const QString& name) const { return Control(name)->isEnabled(); }

    void SelectPalette(const QString& text) const
    {
        auto* palette = Control<QTreeWidget>(QStringLiteral("listBox_AvailableBaseActions"));
        const QList<QTreeWidgetItem*> found = palette->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        palette->setCurrentItem(found.first());
    }

    QStringList Texts(const QComboBox& combo) const
    {
        QStringList texts;
        for (int i = 0; i < combo.count(); ++i)
            texts.append(combo.itemText(i));
        return texts;
    }

    QStringList UsedTexts() const
    {
        QStringList texts;
        for (int i = 0; i < UsedActions()->count(); ++i)
            texts.append(UsedActions()->item(i)->text());
        return texts;
    }

    // Clicks the button and answers the name dialog with the name (empty: "Abbrechen").
    void Name(const QString& button, const QString& name) const
    {
        const bool shown = DriveModal<TActionSequencesNameForm>(
            [&](TActionSequencesNameForm& dialog) {
                if (name.isEmpty())
                    return dialog.reject();
                auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("edit_Name"));
                edit->setText(name);
                dialog.findChild<QPushButton*>(QStringLiteral("button_OK"))->click();
            },
            [&] { Click(button); });
        EXPECT_TRUE(shown) << button.toStdString();
    }

    // Clicks the button and plays the action's definition dialog; returns its caption.
    template <typename TStep>
    QString ActionPage(const QString& button, TStep&& step) const
    {
        QString caption;
        const bool shown = DriveModal<TActionDefinitionForm>(
            [&](TActionDefinitionForm& page) {
                caption = page.windowTitle();
                step(page);
            },
            [&] { Click(button); });
        EXPECT_TRUE(shown) << button.toStdString();
        return caption;
    }

    static void Ok(QDialog& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("button_OK"))->click(); }

    // Clicks the button and answers the message box with answer; returns its text.
    QString Box(const QString& button, QMessageBox::StandardButton answer) const
    {
        QString text;
        const bool shown = DriveModal<QMessageBox>(
            [&](QMessageBox& box) {
                text = box.text();
                box.button(answer)->click();
            },
            [&] { Click(button); });
        EXPECT_TRUE(shown) << button.toStdString();
        return text;
    }

    static std::string SavedText(const TParameters& parameters)
    {
        const auto doc = parameters.SaveObjectsToXMLDoc();
        std::ostringstream out;
        doc->save(out, "\t");
        return out.str();
    }

    TParameters model;
    TActionSequence* popup = nullptr;
    TActionSequence* popupCopy = nullptr;
    TActionSequence* notiz = nullptr;
    TActionExecuteProgram* program = nullptr;
    TActionBalloonMessage* balloon = nullptr;
    std::unique_ptr<TParameters> copy;
    std::unique_ptr<TActionSequencesForm> form;
};
