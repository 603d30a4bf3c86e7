// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editors/RuleAssistentForm.h"
#include "model/ActionSequence.h"
#include "model/Rule.h"
#include "rulesfile/Parameters.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <memory>
#include <sstream>

// A model with three sequences, and the wizard opened on working copies of it
// as the rule list window opens it.
class RuleAssistentFixture : public ::testing::Test
{
protected:
    RuleAssistentFixture()
    {
        for (const char* name : {"Popup", "Protokoll", "Notiz"}) {
            auto* sequence = new TActionSequence;
            sequence->SetName(QString::fromLatin1(name));
            model.ActionSequences().AddNewItem(sequence);
        }
    }

    TActionSequence* Sequence(int index) const { return model.ActionSequences().Item<TActionSequence>(index); }

    // "&Neue Regel...": a new rule appended to a copy of the model.
    std::unique_ptr<TRuleAssistentForm> NewRuleWizard()
    {
        auto copy = model.Clone();
        auto* rule = new TRule;
        copy->Rules().AddNewItem(rule);
        return Open(std::move(copy), rule->ID());
    }

    // "Ändern...": the copy's rule with the model rule's ID.
    std::unique_ptr<TRuleAssistentForm> EditWizard(const TRule& rule) { return Open(model.Clone(), rule.ID()); }

    TRule* AddRule(const QString& name)
    {
        auto* rule = new TRule;
        rule->SetName(name);
        model.Rules().AddNewItem(rule);
        return rule;
    }

    static std::unique_ptr<TRuleAssistentForm> Open(std::unique_ptr<TParameters> copy, const QString& ruleID)
    {
        auto form = std::make_unique<TRuleAssistentForm>(std::move(copy), ruleID);
        form->show();
        return form;
    }

    template <typename T = QWidget>
    static T* Control(const QWidget& form, const QString& name)
    {
        T* control = form.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }

    static QString PageName(const TRuleAssistentForm& form)
    {
        return Control<QStackedWidget>(form, QStringLiteral("PageControl"))->currentWidget()->objectName();
    }

    // Clicks like the user: a disabled button does nothing.
    static void Click(const QWidget& form, const QString& name) { Control<QAbstractButton>(form, name)->click(); }

    static bool Enabled(const QWidget& form, const QString& name) { return Control(form, name)->isEnabled(); }

    /**
     * Plays the user's part from the page shown to the last page: on each page
     * does, in order, the steps that name one of its controls ("box" clicks it,
     * "field=text" types the text, "list=item" chooses the item), then clicks
     * "Weiter>". Returns the pages passed, the last one included.
     */
    static QStringList Walk(TRuleAssistentForm& form, const QStringList& steps)
    {
        QStringList pages;
        for (int guard = 0; guard < 12; ++guard) {
            const QWidget* page = Control<QStackedWidget>(form, QStringLiteral("PageControl"))->currentWidget();
            pages.append(page->objectName());
            for (const QString& step : steps)
                Do(*page, step);
            if (page->objectName() == QLatin1StringView("Page_SaveRule"))
                break;
            Click(form, QStringLiteral("button_Next"));
            if (Control<QStackedWidget>(form, QStringLiteral("PageControl"))->currentWidget() == page) {
                ADD_FAILURE() << "stuck on " << page->objectName().toStdString();
                break;
            }
        }
        return pages;
    }

    // The rule the wizard saved, as the rules document holds it.
    static pugi::xml_node SavedRule(const pugi::xml_document& doc, const QString& name)
    {
        for (pugi::xml_node rule : doc.child("EventController").child("AllRules").children("Rule")) {
            if (QString::fromUtf8(rule.child_value("Name")) == name)
                return rule;
        }
        ADD_FAILURE() << "no rule " << name.toStdString();
        return {};
    }

    static QStringList Options(pugi::xml_node rule, const char* set)
    {
        QStringList names;
        for (pugi::xml_node option : rule.child(set).children("Option"))
            names.append(QString::fromUtf8(option.child_value("Name")));
        return names;
    }

    static QString Text(pugi::xml_node rule, const char* name) { return QString::fromUtf8(rule.child_value(name)); }

    static QString LinkedIndex(pugi::xml_node rule)
    {
        return QString::fromUtf8(rule.child("LinkedActionSequences").child("ActionSequence").child_value("Index"));
    }

    static QString DocumentText(const TParameters& parameters)
    {
        const auto doc = parameters.SaveObjectsToXMLDoc();
        std::ostringstream text;
        doc->save(text);
        return QString::fromStdString(text.str());
    }

    TParameters model;

private:
    static void Do(const QWidget& page, const QString& step)
    {
        const qsizetype equals = step.indexOf(u'=');
        const QString name = step.left(equals);
        QWidget* control = page.findChild<QWidget*>(name);
        if (!control)
            return;
        if (equals < 0) {
            Control<QAbstractButton>(page, name)->click();
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(list->findText(step.mid(equals + 1)));
        } else {
            auto* field = Control<QLineEdit>(page, name);
            field->clear();
            QTest::keyClicks(field, step.mid(equals + 1));
        }
    }
};
