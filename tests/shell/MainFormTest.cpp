// SPDX-License-Identifier: GPL-3.0-or-later

// The main window and its tray icon as the user meets them: the menu, the close
// box, "Beenden", the About box and the second start's message.
#include "shell/MainForm.h"

#include "FakeLineManager.h"
#include "ModalDriver.h"
#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "TestActions.h"
#include "TraceCapture.h"
#include "WaitUntil.h"
#include "WindowGrab.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ui/PimItemForm.h"
#include "editors/RuleAssistentForm.h"
#include "pim/PimItemDrafts.h"
#include "platform/AppVersion.h"
#include "platform/Autostart.h"
#include "platform/DataPaths.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "shell/AboutForm.h"
#include "shell/HistoryForm.h"
#include "shell/SecondStart.h"
#include "shell/SettingsForm.h"
#include "shell/TrayIcon.h"
#include "telephony/OrvixEvent.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Takes the links the program hands to the desktop's browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

void SaveRules(const QStringList& names)
{
    TParameters model;
    auto* sequence = new TActionSequence;
    model.ActionSequences().AddNewItem(sequence);
    for (const QString& name : names)
        model.Rules().AddNewItem(IncomingRule(name, sequence));
    ASSERT_TRUE(model.SaveObjectsToXMLFile(DataPathRulesFile()));
}

class MainFormTest : public ::testing::Test
{
protected:
    MainFormTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()))
    {
        m_settings.WriteUserFile(QStringLiteral("Kestrun/Event Controller for OrvixIt.ini"),
                                 "VelquistServer=127.0.0.1:1\n");
        // A user who has been here before: the first start's greeting is FirstRunTest's.
        SaveRules({});
    }

    ~MainFormTest() override { m_program.Shutdown(); }

    QAction& Entry(TMainForm& form, const char* name)
    {
        auto* action = form.findChild<QAction*>(QLatin1StringView(name));
        if (!action)
            throw std::runtime_error(std::string("no tray entry ") + name);
        return *action;
    }

    // The entries the menu shows now, "-" for the separator.
    static QStringList VisibleEntries(const TMainForm& form)
    {
        QStringList entries;
        for (const QAction* action : form.findChild<QSystemTrayIcon*>()->contextMenu()->actions()) {
            if (action->isVisible())
                entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return entries;
    }

    static QImage TrayPicture(const QIcon& icon) { return icon.pixmap(32, 32).toImage(); }

    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    SettingsSandbox m_settings;
    FakeLineManager m_softphone;
    TraceCapture m_trace;
    TProgram m_program {&m_softphone};
};

} // namespace

TEST_F(MainFormTest, TheTrayMenuOffersWhatChangesSomethingAndFollowsTheProcessingState)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    const auto* tray = form.findChild<QSystemTrayIcon*>();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->toolTip(), TProgram::Title + u"\nSoftphone verbunden");
    EXPECT_FALSE(form.isVisible());
    const QString separator = QStringLiteral("-");
    EXPECT_EQ(VisibleEntries(form),
              (QStringList {u"Wiederherstellen"_s, u"Deaktivieren"_s, u"Anrufliste"_s, u"Einstellungen"_s,
                            u"Beim Anmelden starten"_s, u"Zur neuesten Benachrichtigung"_s, separator, u"Über..."_s,
                            u"Beenden"_s}));
    ASSERT_FALSE(TrayPicture(TTrayIcon::TrayImage(0)).isNull());
    ASSERT_NE(TrayPicture(TTrayIcon::TrayImage(0)), TrayPicture(TTrayIcon::TrayImage(1)));
    EXPECT_EQ(TrayPicture(tray->icon()), TrayPicture(TTrayIcon::TrayImage(0)));

    Entry(form, "sysTrayShow").trigger();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(VisibleEntries(form).mid(0, 2), (QStringList {u"Ausblenden"_s, u"Deaktivieren"_s}));

    Entry(form, "sysTrayDisable").trigger();
    EXPECT_FALSE(m_program.Active());
    EXPECT_FALSE(m_program.Model()->OrvixEventController()->Active());
    EXPECT_EQ(VisibleEntries(form).mid(0, 2), (QStringList {u"Ausblenden"_s, u"Aktivieren"_s}));
    EXPECT_EQ(TrayPicture(tray->icon()), TrayPicture(TTrayIcon::TrayImage(1)));

    Entry(form, "sysTrayHide").trigger();
    EXPECT_FALSE(form.isVisible());
    Entry(form, "sysTrayEnable").trigger();
    EXPECT_TRUE(m_program.Model()->OrvixEventController()->Active());
    EXPECT_EQ(VisibleEntries(form).mid(0, 2), (QStringList {u"Wiederherstellen"_s, u"Deaktivieren"_s}));
    EXPECT_EQ(TrayPicture(tray->icon()), TrayPicture(TTrayIcon::TrayImage(0)));

    // Switched from elsewhere (the program's D-Bus interface): the menu follows.
    m_program.SetActive(false);
    EXPECT_EQ(VisibleEntries(form).mid(0, 2), (QStringList {u"Wiederherstellen"_s, u"Aktivieren"_s}));
}

// The close box never ends the program: the rules are not written and it runs on.
TEST_F(MainFormTest, TheCloseBoxHidesTheWindowOrMinimisesItWithoutATray)
{
    for (const bool trayAvailable : {true, false}) {
        SCOPED_TRACE(trayAvailable ? "tray" : "no tray");
        m_trace.Clear();
        TProgram program(&m_softphone);
        TMainForm form(program, trayAvailable);
        form.FormCreate();
        // Only a save would bring it back.
        QFile::remove(DataPathRulesFile());
        // Without a tray the window is the only way in, so it shows at start.
        EXPECT_EQ(form.isVisible(), !trayAvailable);
        EXPECT_EQ(m_trace.Count(QStringLiteral("Main::FormCreate:No system tray available, main window shown")),
                  trayAvailable ? 0 : 1);
        form.ShowForm();

        EXPECT_FALSE(form.close());
        EXPECT_EQ(form.isVisible(), !trayAvailable);
        EXPECT_EQ(form.isMinimized(), !trayAvailable);
        EXPECT_FALSE(m_trace.Has(QStringLiteral("Main::FormClose:Application shut down")));
        EXPECT_FALSE(QFile::exists(DataPathRulesFile()));
        if (trayAvailable) {
            EXPECT_EQ(VisibleEntries(form).at(0), QStringLiteral("Wiederherstellen"));
        }
        program.Shutdown();
        SaveRules({});
    }
}

TEST_F(MainFormTest, BeimAnmeldenStartenWritesAndRemovesTheUsersAutostartEntry)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    QAction& autostart = Entry(form, "sysTrayAutostart");
    EXPECT_FALSE(autostart.isChecked());

    autostart.trigger();
    EXPECT_TRUE(autostart.isChecked());
    EXPECT_TRUE(QFile::exists(Autostart::UserEntryPath()));
    autostart.trigger();
    EXPECT_FALSE(autostart.isChecked());
    EXPECT_FALSE(QFile::exists(Autostart::UserEntryPath()));
}

TEST_F(MainFormTest, ZurNeuestenBenachrichtigungSaysWhenNoneIsOpen)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    TMessageBox::SetNextAnswer(QMessageBox::Ok);
    Entry(form, "sysTrayNewestNotification").trigger();
    EXPECT_EQ(TMessageBox::PendingAnswers(), 0);
}

TEST_F(MainFormTest, BeendenRunsTheShutdownOnceAndClosesTheWindow)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    form.ShowForm();
    QFile::remove(DataPathRulesFile());

    Entry(form, "sysTrayExit").trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(m_trace.Count(QStringLiteral("Main::FormClose:Application shut down")), 1);
    EXPECT_FALSE(QFile::exists(DataPathRulesFile())) << "nothing changed, so nothing is written";
    form.FormClose();
    EXPECT_EQ(m_trace.Count(QStringLiteral("Main::FormClose:Application shut down")), 1);
}

// The user types a journal entry about a call and quits the program from the tray.
TEST_F(MainFormTest, BeendenWhileAnItemIsTypedKeepsItAsADraft)
{
    TParameters model;
    auto* sequence = new TActionSequence;
    auto* journal = new TActionOutlookJournal;
    journal->SetTemplateActive(false);
    sequence->AddNewItem(journal);
    model.ActionSequences().AddNewItem(sequence);
    model.Rules().AddNewItem(IncomingRule(u"Notiz"_s, sequence));
    ASSERT_TRUE(model.SaveObjectsToXMLFile(DataPathRulesFile()));
    TMainForm form(m_program, true);
    form.FormCreate();

    const bool shown = DriveModal<TPimItemForm>(
        [&](TPimItemForm& window) {
            window.findChild<QLineEdit*>(u"edit_Subject"_s)->setText(u"Rückruf wegen Angebot"_s);
            Entry(form, "sysTrayExit").trigger();
        },
        [&] {
            m_softphone.lines[0] = IncomingCall(5, u"0301234"_s, u"Anna Berg"_s);
            m_softphone.ChangeState(0, LSRinging);
            FakeLineManager::Deliver();
        });
    ASSERT_TRUE(shown);
    const TPimItemDrafts drafts = ReadPimItemDrafts();
    ASSERT_EQ(drafts.Drafts.size(), 1u);
    EXPECT_EQ(drafts.Drafts.front().Item.Subject, u"Rückruf wegen Angebot"_s);
    EXPECT_EQ(drafts.Drafts.front().Item.Contact, u"Anna Berg (+49301234)"_s);
    const QString open = u"TActionOutlookJournal::ExecuteAction: Open Journal"_s;
    EXPECT_EQ(m_trace.LastValue(open + u": Closed at the program's end, kept as a draft"_s),
              drafts.Drafts.front().Path);
    EXPECT_FALSE(m_trace.Has(open + u": Discarded by the user"_s));
}

TEST_F(MainFormTest, TheRuleListFollowsTheModelInForce)
{
    SaveRules({QStringLiteral("Kunde")});
    TMainForm form(m_program, true);
    form.FormCreate();
    auto* list = form.findChild<QListWidget*>(QStringLiteral("checkListBox_Rules"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 1);

    SaveRules({QStringLiteral("Kunde"), QStringLiteral("Lieferant")});
    ASSERT_TRUE(m_program.ReloadRules());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Lieferant"));
    // The reloaded rules have new IDs: the rule selected before is gone, so nothing is selected.
    EXPECT_TRUE(list->selectedItems().isEmpty());
    list->setCurrentRow(1);
    EXPECT_TRUE(form.findChild<QTextEdit*>(QStringLiteral("RulesDescriptionBox"))
                    ->toPlainText()
                    .startsWith(QStringLiteral("Diese Regel wird bei eingehenden\n   externen Rufen")));
    // "Ausblenden" hides the window as the tray menu's entry does.
    form.ShowForm();
    GrabWindow(form, QStringLiteral("MainForm"));
    form.findChild<QPushButton*>(QStringLiteral("button_Hide"))->click();
    EXPECT_FALSE(form.isVisible());
}

// Return works as in a dialog: it presses the focused button, and elsewhere
// (in the rule list) the default button "Neue Regel...".
TEST_F(MainFormTest, ReturnPressesTheFocusedButtonElseNeueRegel)
{
    SaveRules({QStringLiteral("Kunde")});
    TMainForm form(m_program, true);
    form.FormCreate();
    form.ShowForm();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* list = form.findChild<QListWidget*>(QStringLiteral("checkListBox_Rules"));
    ASSERT_NE(list, nullptr);
    list->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        const bool wizard = DriveModal<TRuleAssistentForm>([](TRuleAssistentForm& shown) { shown.QDialog::reject(); },
                                                           [&] { QTest::keyClick(list, key); });
        EXPECT_TRUE(wizard) << "the new-rule wizard opens for key " << key;
    }

    // The closed wizard leaves no window active (nothing hands activation back
    // offscreen), and focus only moves within the active window: without this,
    // "Ausblenden" would not be the focused button.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* hide = form.findChild<QPushButton*>(QStringLiteral("button_Hide"));
    hide->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), hide);
    const bool wizard = DriveModal<TRuleAssistentForm>([](TRuleAssistentForm& shown) { shown.QDialog::reject(); },
                                                       [&] { QTest::keyClick(hide, Qt::Key_Return); });
    EXPECT_FALSE(wizard) << "the focused button is pressed, not the default one";
    EXPECT_TRUE(WaitUntil([&form] { return !form.isVisible(); }, 5000)) << "the focused button is pressed";
}

TEST_F(MainFormTest, EinstellungenOpensOneSettingsDialogWithTheValuesInForce)
{
    TMainForm form(m_program, true);
    TNotificationSettings settings = m_program.NotificationSettings();
    settings.DesktopNotificationPosition = 2;
    m_program.SetNotificationSettings(settings);

    Entry(form, "sysTraySettings").trigger();
    QPointer<TSettingsForm> dialog = form.SettingsForm();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal()) << "notifications stay usable while it is open";
    EXPECT_EQ(dialog->NotificationSettings().DesktopNotificationPosition, 2);

    // A second request (the menu again, or ShowSettings on the bus) brings the same one back.
    dialog->showMinimized();
    Entry(form, "sysTraySettings").trigger();
    EXPECT_EQ(form.SettingsForm(), dialog.data());
    EXPECT_TRUE(dialog->isVisible());

    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("button_Cancel")), Qt::LeftButton);
    EXPECT_TRUE(WaitUntil([&] { return dialog.isNull(); }, 5000)) << "freed when closed";
    EXPECT_EQ(form.SettingsForm(), nullptr);
}

TEST_F(MainFormTest, TheAboutBoxShowsTitleVersionLogoAndOpensTheMakersSite)
{
    TMainForm form(m_program, true);
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "Open");
    const bool shown = DriveModal<TAboutForm>(
        [&](TAboutForm& about) {
            EXPECT_EQ(about.windowTitle(), QStringLiteral("Über"));
            const auto* title = about.findChild<QLabel*>(QStringLiteral("label_Title"));
            EXPECT_EQ(title->text(), TProgram::Title);
            EXPECT_TRUE(title->font().bold());
            EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("label_Version"))->text(), GetAppVersion());
            EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("image_Logo"))->pixmap().isNull());
            GrabWindow(about, QStringLiteral("AboutForm"));
            auto* link = about.findChild<QLabel*>(QStringLiteral("linkLabel_WebAddress"));
            const QString text = link->text();
            const qsizetype start = text.indexOf(u'"') + 1;
            emit link->linkActivated(text.mid(start, text.indexOf(u'"', start) - start));
            QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("button_Ok")), Qt::LeftButton);
            EXPECT_EQ(about.result(), QDialog::Accepted);
        },
        [&] { Entry(form, "sysTrayAbout").trigger(); });
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(browser.opened, QList<QUrl> {QUrl(QStringLiteral("https://www.kestrun.de"))});
}

// A call rings and is not taken: the tray counts it until the history window is seen,
// which shows it and calls back through the softphone.
TEST_F(MainFormTest, MissedCallIsCountedOnTheTrayShownInTheHistoryAndCalledBack)
{
    TMainForm form(m_program, true);
    form.FormCreate();
    const auto* tray = form.findChild<QSystemTrayIcon*>();
    const QImage plain = TrayPicture(tray->icon());

    m_softphone.lines[0] = IncomingCall(5, u"0301234"_s, u"Anna Berg"_s);
    m_softphone.ChangeState(0, LSRinging);
    FakeLineManager::Deliver();
    m_softphone.ChangeState(0, LSInactive);
    ASSERT_TRUE(WaitUntil([&] { return tray->toolTip().contains(u"1 verpasster Anruf"_s); }, 10000))
        << tray->toolTip().toStdString();
    EXPECT_NE(TrayPicture(tray->icon()), plain) << "a badge on the icon";

    Entry(form, "sysTrayHistory").trigger();
    THistoryForm* history = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<THistoryForm*>(widget))
            history = found;
    }
    ASSERT_NE(history, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return history->ShownCalls().size() == 1; }, 10000));
    EXPECT_EQ(history->ShownCalls().front().callerName, u"Anna Berg"_s);
    EXPECT_TRUE(history->ShownCalls().front().missed);
    ASSERT_TRUE(WaitUntil([&] { return !tray->toolTip().contains(u"verpasst"_s); }, 10000)) << "seen: the count clears";
    EXPECT_TRUE(tray->toolTip().startsWith(TProgram::Title));
    EXPECT_EQ(TrayPicture(tray->icon()), plain);

    auto* table = history->findChild<QTableView*>(u"tableView_Calls"_s);
    table->selectRow(0);
    history->findChild<QPushButton*>(u"button_CallBack"_s)->click();
    EXPECT_EQ(m_softphone.operations, QStringList {u"MakeCall +49301234 -1"_s});
}

TEST(SecondStart, WithoutAnArgumentTheUserIsToldThatTheProgramRuns)
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const bool shown = DriveModal<QMessageBox>(
        [&](QMessageBox& box) {
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            box.accept();
        },
        [] { ShowAlreadyRunning(); });
    EXPECT_TRUE(shown);
    EXPECT_EQ(title, QStringLiteral("Kestrun EventController for OrvixIt!"));
    EXPECT_EQ(text, QStringLiteral("Application already running."));
    EXPECT_EQ(icon, QMessageBox::Critical);
}

#include "MainFormTest.moc"
