// SPDX-License-Identifier: GPL-3.0-or-later

// Keyboard and screen-reader users meet every list and every button that shows
// only a symbol by its name: a walk through the windows finds none without one.
#include "shell/MainForm.h"

#include "FakeLineManager.h"
#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "WaitUntil.h"
#include "actions/ui/BaseMessageForm.h"
#include "editors/ActionSequencesForm.h"
#include "editors/RuleAssistentForm.h"
#include "editors/RuleTestForm.h"
#include "editors/RulesChoiceForm.h"
#include "model/Rule.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

// The lists, text boxes and symbol-only buttons of the window that a screen
// reader would announce without a name.
QStringList Nameless(const QWidget& window)
{
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    QStringList nameless;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        // Popups of combo boxes and the like are windows of their own.
        if (widget->window() != &window)
            continue;
        const auto* button = qobject_cast<QAbstractButton*>(widget);
        const bool symbolOnly = button && !button->text().contains(letter);
        // A header is named by its columns.
        const bool list = (qobject_cast<QAbstractItemView*>(widget) && !qobject_cast<QHeaderView*>(widget)) ||
            qobject_cast<QTextEdit*>(widget);
        if (!symbolOnly && !list)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            nameless << QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName();
    }
    return nameless;
}

class AccessibleNamesTest : public ::testing::Test
{
protected:
    AccessibleNamesTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()))
    {
        m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                                 "VelquistServer=127.0.0.1:1\n");
    }

    ~AccessibleNamesTest() override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<TBaseMessageForm*>(window))
                delete window;
        }
        m_program.Shutdown();
    }

    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    SettingsSandbox m_settings;
    FakeLineManager m_softphone;
    TProgram m_program {&m_softphone};
};

} // namespace

TEST_F(AccessibleNamesTest, NoListAndNoSymbolButtonIsNameless)
{
    // The starter rules give the windows something to show.
    TMainForm form(m_program, true);
    form.FormCreate();
    EXPECT_EQ(Nameless(form), QStringList());

    const TRule* rule = m_program.Model()->Rules().Item<TRule>(0);
    ASSERT_NE(rule, nullptr);
    std::unique_ptr<TParameters> copy = m_program.Model()->Clone();
    TActionSequencesForm sequences(*copy);
    EXPECT_EQ(Nameless(sequences), QStringList());
    TRuleAssistentForm wizard(m_program.Model()->Clone(), rule->ID());
    EXPECT_EQ(Nameless(wizard), QStringList());
    TRuleTestForm test(m_program.Model(), rule->ID());
    EXPECT_EQ(Nameless(test), QStringList());
    TImportRulesForm import(m_program.Model()->Clone());
    EXPECT_EQ(Nameless(import), QStringList());

    m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    m_softphone.ChangeState(0, LSRinging);
    TBaseMessageForm* notification = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if ((notification = qobject_cast<TBaseMessageForm*>(window)) && window->isVisible())
                    return true;
            }
            return false;
        },
        10000));
    EXPECT_EQ(Nameless(*notification), QStringList());
    // The window says what it is to assistive technology, which it reaches without the focus.
    EXPECT_EQ(notification->accessibleName(), QStringLiteral("Anrufer"));
    EXPECT_TRUE(notification->accessibleDescription().contains(QStringLiteral("Name: Anna Berg")));
}
