// SPDX-License-Identifier: GPL-3.0-or-later

// A new user's first start: no rules file anywhere, so the program seeds its
// starter rules, shows the rule list once with a word on what to do next, and
// the next call already shows the caller.
#include "shell/MainForm.h"

#include "FakeLineManager.h"
#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "TraceCapture.h"
#include "WaitUntil.h"
#include "WindowGrab.h"
#include "actions/ui/ActionSequenceButton.h"
#include "actions/ui/BaseMessageForm.h"
#include "model/Rule.h"
#include "platform/DataPaths.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "widgets/PlaceholderListWidget.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

class FirstRunTest : public ::testing::Test
{
protected:
    FirstRunTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()))
    {
        // Directory lookups are skipped: nothing answers there.
        m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                                 "VelquistServer=127.0.0.1:1\n");
        // The notification windows follow their call through the process's softphone.
        LineManagerService::SetInstance(&m_softphone);
    }

    ~FirstRunTest() override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<TBaseMessageForm*>(window))
                delete window;
        }
        m_program.Shutdown();
        LineManagerService::SetInstance(nullptr);
    }

    static TBaseMessageForm* ShownNotification()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<TBaseMessageForm*>(window);
            if (form && form->isVisible())
                return form;
        }
        return nullptr;
    }

    static QStringList Texts(const QWidget& window)
    {
        QStringList texts;
        for (const QLabel* label : window.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }

    // A dark theme as desktops give it: light text on dark sheets.
    static QPalette DarkPalette()
    {
        QPalette dark;
        const QColor window(0x35, 0x35, 0x35);
        const QColor base(0x2a, 0x2a, 0x2a);
        for (const auto& [role, color] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>> {
                 {QPalette::Window, window},
                 {QPalette::WindowText, QColor(0xee, 0xee, 0xee)},
                 {QPalette::Base, base},
                 {QPalette::AlternateBase, QColor(0x42, 0x42, 0x42)},
                 {QPalette::Text, QColor(0xee, 0xee, 0xee)},
                 {QPalette::Button, window},
                 {QPalette::ButtonText, QColor(0xee, 0xee, 0xee)},
                 {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                 {QPalette::HighlightedText, Qt::black},
                 {QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a)},
                 {QPalette::ToolTipBase, base},
                 {QPalette::ToolTipText, QColor(0xee, 0xee, 0xee)},
                 {QPalette::Link, QColor(0x8a, 0xb4, 0xf8)},
             })
            dark.setColor(role, color);
        return dark;
    }

    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    SettingsSandbox m_settings;
    FakeLineManager m_softphone;
    TraceCapture m_trace;
    TProgram m_program {&m_softphone};
};

} // namespace

TEST_F(FirstRunTest, SeedsTheStarterRulesGreetsAndTheNextCallShowsTheCaller)
{
    ASSERT_FALSE(QFile::exists(DataPathRulesFile()));
    TMainForm form(m_program, true);
    form.FormCreate();

    EXPECT_TRUE(m_program.FirstStart());
    EXPECT_TRUE(QFile::exists(DataPathRulesFile()));
    const TBaseList& rules = m_program.Model()->Rules();
    ASSERT_EQ(rules.Count(), 2);
    EXPECT_TRUE(rules.Item<TRule>(0)->Active());
    EXPECT_FALSE(rules.Item<TRule>(1)->Active()) << "the journal entry waits for the user's tick";
    // The rule list shows once, with the greeting.
    EXPECT_TRUE(form.isVisible());
    const auto* hint = form.findChild<QLabel*>(QStringLiteral("label_Hint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().contains(QStringLiteral("Neue Regel...")));
    form.HideForm();
    form.ShowForm();
    EXPECT_FALSE(hint->isVisible()) << "said once";

    m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    m_softphone.ChangeState(0, LSRinging);
    ASSERT_TRUE(WaitUntil([] { return ShownNotification() != nullptr; }, 10000));
    TBaseMessageForm& notification = *ShownNotification();
    EXPECT_TRUE(Texts(notification).contains(QStringLiteral("Anna Berg")));
    const QList<TActionSequenceButton*> buttons = notification.SequenceButtons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons.at(0)->text(), QStringLiteral("Annehmen"));
    EXPECT_EQ(buttons.at(1)->text(), QStringLiteral("Sperren"));
    ASSERT_TRUE(buttons.at(0)->isEnabled()) << "the call rings";
    // The keyboard's way to the button: the tray menu's entry.
    form.findChild<QAction*>(QStringLiteral("sysTrayNewestNotification"))->trigger();
    EXPECT_EQ(notification.focusWidget(), buttons.at(0));
    EXPECT_FALSE(notification.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_FALSE(notification.FadeOutActive()) << "it waits for the keyboard";
    buttons.at(0)->click();
    EXPECT_TRUE(m_softphone.operations.contains(QStringLiteral("HookOff 0")));
}

// "Sperren" on the caller's notification ends the call that rings and puts the
// number into "Gesperrte Nummern", at the top of the rules and in the file: the
// caller's next call is ended while it rings.
TEST_F(FirstRunTest, SperrenOnTheNotificationBlocksTheCaller)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    m_softphone.ChangeState(0, LSRinging);
    ASSERT_TRUE(WaitUntil([] { return ShownNotification() != nullptr; }, 10000));
    const QList<TActionSequenceButton*> buttons = ShownNotification()->SequenceButtons();
    ASSERT_EQ(buttons.size(), 2);
    ASSERT_TRUE(buttons.at(1)->isEnabled());

    buttons.at(1)->click();
    EXPECT_EQ(m_softphone.operations, QStringList {QStringLiteral("HookOn 0")});
    const TRule* blocking = m_program.Model()->Rules().Item<TRule>(0);
    EXPECT_EQ(blocking->Name(), QStringLiteral("Gesperrte Nummern"));
    EXPECT_EQ(blocking->FromNumberIn(), QStringLiteral("+49301234"));
    TParameters saved;
    ASSERT_TRUE(saved.LoadObjectsFromXMLFile(DataPathRulesFile()));
    EXPECT_EQ(saved.Rules().Item<TRule>(0)->FromNumberIn(), QStringLiteral("+49301234"));

    // On another line: a call that ends would stay in the process's call history, which other tests read.
    m_softphone.lines[1] = IncomingCall(6, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
    m_softphone.ChangeState(1, LSRinging);
    EXPECT_TRUE(WaitUntil([this] { return m_softphone.operations.contains(QStringLiteral("HookOn 1")); }, 10000));
}

// A caller whose number would block others as a pattern gets no "Sperren".
TEST_F(FirstRunTest, SperrenIsOffForACallerWhoseNumberIsAPattern)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301*"), QStringLiteral("Mallory"));
    m_softphone.ChangeState(0, LSRinging);
    ASSERT_TRUE(WaitUntil([] { return ShownNotification() != nullptr; }, 10000));
    const QList<TActionSequenceButton*> buttons = ShownNotification()->SequenceButtons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_TRUE(buttons.at(0)->isEnabled()) << "the call rings";
    EXPECT_FALSE(buttons.at(1)->isEnabled());
}

// An administrator's rules come first; and a returning user is not greeted.
TEST_F(FirstRunTest, ARulesFileThatExistsIsLoadedAndNothingIsSeeded)
{
    {
        TParameters empty;
        ASSERT_TRUE(empty.SaveObjectsToXMLFile(DataPathRulesFile()));
    }
    TMainForm form(m_program, true);
    form.FormCreate();

    EXPECT_FALSE(m_program.FirstStart());
    EXPECT_EQ(m_program.Model()->Rules().Count(), 0);
    EXPECT_FALSE(form.isVisible());
    // The empty list says what to do.
    const auto* list = form.findChild<TPlaceholderListWidget*>(QStringLiteral("checkListBox_Rules"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->PlaceholderText(), QStringLiteral("Noch keine Regeln – Neue Regel..."));
    EXPECT_EQ(list->accessibleDescription(), list->PlaceholderText());
}

// A dark theme's light text on a sheet of the same theme: every label of the
// window stays readable, and so does the caller's notification.
TEST_F(FirstRunTest, OnADarkThemeEveryTextStandsOutFromItsBackground)
{
    const QPalette original = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    {
        TMainForm form(m_program, true);
        form.FormCreate();
        ASSERT_TRUE(form.isVisible());
        for (const QLabel* label : form.findChildren<QLabel*>()) {
            SCOPED_TRACE(label->objectName().toStdString());
            const QColor text = label->palette().color(label->foregroundRole());
            const QColor sheet = form.palette().color(form.backgroundRole());
            EXPECT_GT(std::abs(text.lightness() - sheet.lightness()), 128);
        }
        GrabWindow(form, QStringLiteral("first-start-dark"));
        const auto* tray = form.findChild<QSystemTrayIcon*>();
        QToolTip::showText(form.geometry().center(), tray->toolTip());
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->inherits("QTipLabel") && window->isVisible())
                GrabWindow(*window, QStringLiteral("tray-tooltip-dark"));
        }
        QToolTip::hideText();
        form.HideForm();

        m_softphone.lines[0] = IncomingCall(5, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
        m_softphone.ChangeState(0, LSRinging);
        ASSERT_TRUE(WaitUntil([] { return ShownNotification() != nullptr; }, 10000));
        TBaseMessageForm& notification = *ShownNotification();
        const QColor body = notification.Colors().FormColor;
        for (const QLabel* label : notification.findChildren<QLabel*>()) {
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_GT(std::abs(label->palette().color(label->foregroundRole()).lightness() - body.lightness()), 128);
        }
        GrabWindow(notification, QStringLiteral("first-call-notification-dark"));
        m_program.Shutdown();
    }
    QApplication::setPalette(original);
}

TEST_F(FirstRunTest, TheWindowAndTheToolTipSayWhetherTheSoftphoneIsThereAndWhetherProcessingIsOff)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    const auto* status = form.findChild<QLabel*>(QStringLiteral("label_Status"));
    const auto* tray = form.findChild<QSystemTrayIcon*>();
    ASSERT_NE(status, nullptr);
    ASSERT_NE(tray, nullptr);
    const auto shows = [&](const QString& text) {
        return status->text() == text && tray->toolTip() == QString(TProgram::Title + u'\n' + text);
    };
    EXPECT_TRUE(shows(QStringLiteral("Softphone verbunden")));

    m_program.SetActive(false);
    EXPECT_TRUE(shows(QStringLiteral("Softphone verbunden – Regelverarbeitung deaktiviert")));

    m_softphone.available = false;
    emit m_softphone.AvailabilityChanged(false);
    EXPECT_TRUE(shows(QStringLiteral("Softphone nicht verbunden – Regelverarbeitung deaktiviert")));

    m_program.SetActive(true);
    m_softphone.available = true;
    emit m_softphone.AvailabilityChanged(true);
    EXPECT_TRUE(shows(QStringLiteral("Softphone verbunden")));
}
