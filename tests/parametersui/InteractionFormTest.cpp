// SPDX-License-Identifier: GPL-3.0-or-later

#include "ModalDriver.h"
#include "ParameterRun.h"
#include "WindowGrab.h"

#include "parameters/ParameterInteraction.h"
#include "parameters/ui/InteractionForm.h"
#include "program/Program.h"
#include "shell/DesktopUserInterface.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class InteractionForm : public ::testing::Test
{
protected:
    InteractionForm()
    {
        SetUserInterface(&m_ui);
        m_param.SetCaption(QStringLiteral("Farbwahl"));
        m_param.SetQuery(QStringLiteral("Welche Farbe?"));
        m_param.SetItems(QStringLiteral("rot\ngrün\nblau"));
    }
    ~InteractionForm() override { SetUserInterface(nullptr); }

    // Asks the parameter's question and, once the window shows, plays the user's
    // part; m_cancelled tells whether the question cancelled the action.
    QString Ask(const std::function<void(TInteractionForm& form)>& step)
    {
        Resolution resolution;
        EXPECT_TRUE(DriveModal<TInteractionForm>(step, [&] { resolution = Resolve(m_param); }));
        m_cancelled = resolution.cancelled;
        return resolution.result;
    }

    template <typename T>
    static T* Control(TInteractionForm& form, const char* name)
    {
        T* control = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    TProgram m_program;
    TDesktopUserInterface m_ui {m_program};
    TParameterInteraction m_param;
    bool m_cancelled = false;
};

} // namespace

TEST_F(InteractionForm, ChoiceShowsTheLinesInOrderAndOkTakesTheFirst)
{
    m_param.SetIsSimpleInput(false);
    const QString result = Ask([](TInteractionForm& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Farbwahl"));
        auto* pages = Control<QStackedWidget>(form, "PageControl");
        EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("NoSimpleInput"));
        EXPECT_EQ(Control<QLabel>(form, "NoSimpelQuery")->text(), QStringLiteral("Welche Farbe?"));
        auto* combo = Control<QComboBox>(form, "NoSimpleCombo");
        ASSERT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(0), QStringLiteral("rot"));
        EXPECT_EQ(combo->itemText(1), QStringLiteral("grün"));
        EXPECT_EQ(combo->itemText(2), QStringLiteral("blau"));
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_FALSE(combo->isEditable());
        EXPECT_EQ(form.focusWidget(), combo);
        GrabWindow(form, QStringLiteral("InteractionForm"));
        QTest::mouseClick(Control<QPushButton>(form, "Button1"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QStringLiteral("rot"));
    EXPECT_FALSE(m_cancelled);
}

TEST_F(InteractionForm, ChoiceTakesTheSelectedLine)
{
    m_param.SetIsSimpleInput(false);
    const QString result = Ask([](TInteractionForm& form) {
        auto* combo = Control<QComboBox>(form, "NoSimpleCombo");
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::mouseClick(Control<QPushButton>(form, "Button1"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QStringLiteral("blau"));
}

TEST_F(InteractionForm, ChoiceWithoutLinesGivesEmptyWithoutCancelling)
{
    m_param.SetIsSimpleInput(false);
    m_param.SetItems({});
    const QString result =
        Ask([](TInteractionForm& form) { QTest::mouseClick(Control<QPushButton>(form, "Button1"), Qt::LeftButton); });
    EXPECT_EQ(result, QString());
    EXPECT_FALSE(m_cancelled);
}

TEST_F(InteractionForm, FreeTextIsTypedAndConfirmedWithEnter)
{
    const QString result = Ask([](TInteractionForm& form) {
        EXPECT_EQ(Control<QStackedWidget>(form, "PageControl")->currentWidget()->objectName(),
                  QStringLiteral("SimpleInput"));
        EXPECT_EQ(Control<QLabel>(form, "SimpelQuery")->text(), QStringLiteral("Welche Farbe?"));
        auto* edit = Control<QLineEdit>(form, "SimpleEdit");
        EXPECT_EQ(edit->text(), QString());
        EXPECT_EQ(form.focusWidget(), edit);
        QTest::keyClicks(edit, QStringLiteral("Blau 4711"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(result, QStringLiteral("Blau 4711"));
    EXPECT_FALSE(m_cancelled);
}

TEST_F(InteractionForm, DecliningCancelsAndGivesEmpty)
{
    const std::pair<const char*, std::function<void(TInteractionForm&)>> ways[] = {
        {"Abbrechen",
         [](TInteractionForm& form) { QTest::mouseClick(Control<QPushButton>(form, "Button2"), Qt::LeftButton); }},
        {"closing the window", [](TInteractionForm& form) { form.close(); }},
        {"Escape", [](TInteractionForm& form) { QTest::keyClick(&form, Qt::Key_Escape); }},
    };
    for (const auto& [way, decline] : ways) {
        SCOPED_TRACE(way);
        const QString result = Ask([&decline](TInteractionForm& form) {
            QTest::keyClicks(Control<QLineEdit>(form, "SimpleEdit"), QStringLiteral("rot"));
            decline(form);
            EXPECT_FALSE(form.isVisible());
        });
        EXPECT_EQ(result, QString());
        EXPECT_TRUE(m_cancelled);
    }
}

TEST_F(InteractionForm, StaysOnTopWithoutOwnerInTheMiddleOfTheScreen)
{
    EXPECT_EQ(TInteractionForm().windowTitle(), QStringLiteral("Geben Sie bitte einen Wert an"));
    Ask([](TInteractionForm& form) {
        EXPECT_EQ(form.parentWidget(), nullptr);
        EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(form.isModal());
        const QPoint offset = form.frameGeometry().center() - form.screen()->availableGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        auto* ok = Control<QPushButton>(form, "Button1");
        EXPECT_EQ(ok->text(), QStringLiteral("Ok"));
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(Control<QPushButton>(form, "Button2")->text(), QStringLiteral("Abbrechen"));
    });
}

// The question comes from the rules file, maybe filled from call data: it is shown as written.
TEST_F(InteractionForm, QuestionIsShownAsPlainText)
{
    m_param.SetQuery(QStringLiteral("<b>x</b> & <img src=\"/etc/passwd\">"));
    for (const bool simple : {true, false}) {
        SCOPED_TRACE(simple);
        m_param.SetIsSimpleInput(simple);
        Ask([simple](TInteractionForm& form) {
            auto* label = Control<QLabel>(form, simple ? "SimpelQuery" : "NoSimpelQuery");
            EXPECT_EQ(label->text(), QStringLiteral("<b>x</b> & <img src=\"/etc/passwd\">"));
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            QTest::mouseClick(Control<QPushButton>(form, "Button1"), Qt::LeftButton);
        });
    }
}
