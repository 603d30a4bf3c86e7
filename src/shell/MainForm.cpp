// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/MainForm.h"

#include "actions/ui/MessageWindows.h"
#include "editors/RuleTestForm.h"
#include "history/CallHistory.h"
#include "model/IconList.h"
#include "model/Rule.h"
#include "platform/AppVersion.h"
#include "platform/Autostart.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "program/Program.h"
#include "rulesfile/BlockedNumbers.h"
#include "rulesfile/Parameters.h"
#include "shell/AboutForm.h"
#include "shell/DesktopUserInterface.h"
#include "shell/HistoryForm.h"
#include "shell/RuleListForm.h"
#include "shell/SettingsForm.h"
#include "shell/TrayIcon.h"
#include "trace/Trace.h"
#include "widgets/MessageBox.h"

#include "ui_MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSessionManager>

namespace {

const QUrl MakerWebAddress(QStringLiteral("https://www.kestrun.de"));

QPixmap AboutLogo()
{
    const IconList& icons = IconList::Instance();
    return QPixmap::fromImage(icons.Render(icons.IndexOf(u"call"), QSize(64, 64), QColor(0x15, 0x65, 0xc0)));
}

} // namespace

TMainForm::TMainForm(TProgram& program, bool trayAvailable)
    : m_program(program)
    , ui(std::make_unique<Ui::TMainForm>())
    , m_trayIcon(new TTrayIcon(TProgram::Title, this))
    , m_trayAvailable(trayAvailable)
{
    ui->setupUi(this);
    setWindowTitle(TProgram::Title);
    m_ruleList = new TRuleListForm(m_program, this);
    ui->layoutMain->addWidget(m_ruleList);
    // A fixed frame with only a system menu, as a sheet: the theme's colour for
    // text areas, white in a light theme. Labels on it take the text colour that
    // belongs to it, so a dark theme keeps them readable.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_ruleList, &TRuleListForm::HideRequested, this, &TMainForm::HideForm);
    connect(m_ruleList, &TRuleListForm::HistoryRequested, this, &TMainForm::ShowHistory);
    connect(m_trayIcon, &TTrayIcon::HistoryClicked, this, &TMainForm::ShowHistory);
    connect(m_trayIcon, &TTrayIcon::ShowClicked, this, &TMainForm::ShowForm);
    connect(m_trayIcon, &TTrayIcon::HideClicked, this, &TMainForm::HideForm);
    connect(m_trayIcon, &TTrayIcon::DisableClicked, this, [this] { m_program.SetActive(false); });
    connect(m_trayIcon, &TTrayIcon::EnableClicked, this, [this] { m_program.SetActive(true); });
    connect(m_trayIcon, &TTrayIcon::SettingsClicked, this, &TMainForm::ShowSettings);
    connect(m_trayIcon, &TTrayIcon::AutostartToggled, this, &TMainForm::SetAutostart);
    connect(m_trayIcon, &TTrayIcon::NewestNotificationClicked, this, &TMainForm::FocusNewestNotification);
    connect(m_trayIcon, &TTrayIcon::HostAppeared, this, &TMainForm::TrayHostAppeared);
    connect(m_trayIcon, &TTrayIcon::AboutClicked, this, &TMainForm::ShowAbout);
    connect(m_trayIcon, &TTrayIcon::ExitClicked, this, &TMainForm::ExitProgram);
    // The program's state, whoever changes it (the menu, the program's D-Bus interface).
    connect(&m_program, &TProgram::ActiveChanged, m_trayIcon, &TTrayIcon::SetProcessingActive);
    connect(&m_program, &TProgram::ActiveChanged, this, &TMainForm::ShowStatus);
    connect(&m_program, &TProgram::SoftphoneConnectionChanged, this, &TMainForm::ShowStatus);
    connect(&m_program, &TProgram::ModelChanged, this, &TMainForm::ReloadRuleList);
    connect(&m_program, &TProgram::UserWarning, this, &TMainForm::ShowUserWarning);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TMainForm::AllowClose);
    m_trayIcon->SetProcessingActive(m_program.Active());
    m_trayIcon->SetAutostart(Autostart::Enabled());
    ShowStatus();
}

TMainForm::~TMainForm()
{
    delete m_settingsForm;
    if (m_userInterface && UserInterface() == m_userInterface.get())
        SetUserInterface(nullptr);
}

void TMainForm::FormCreate()
{
    m_program.Start(this);
    ConnectMissedCalls();
}

void TMainForm::ConnectMissedCalls()
{
    TCallHistory* history = m_program.CallHistory();
    if (!history)
        return;
    connect(history, &TCallHistory::UnseenMissedCountChanged, m_trayIcon, &TTrayIcon::SetMissedCalls);
    m_trayIcon->SetMissedCalls(history->UnseenMissedCount());
}

void TMainForm::ShowHistory()
{
    TCallHistory* history = m_program.CallHistory();
    if (!history) {
        TMessageBox::Warning(nullptr, QStringLiteral("Anrufliste"),
                             QStringLiteral("Der Anrufverlauf konnte beim Start nicht geöffnet werden."));
        return;
    }
    if (!m_historyForm) {
        m_historyForm = std::make_unique<THistoryForm>(*history);
        m_historyForm->setAttribute(Qt::WA_QuitOnClose, false);
        connect(m_historyForm.get(), &THistoryForm::CallBackRequested, this, &TMainForm::PlaceCall);
        connect(m_historyForm.get(), &THistoryForm::RuleTestRequested, this, &TMainForm::TestRuleWithCall);
        connect(m_historyForm.get(), &THistoryForm::BlockRequested, this, &TMainForm::BlockCaller);
        connect(&m_program, &TProgram::ModelChanged, this, &TMainForm::UpdateHistoryRules);
    }
    UpdateHistoryRules();
    m_historyForm->show();
    m_historyForm->raise();
    m_historyForm->activateWindow();
}

void TMainForm::UpdateHistoryRules()
{
    if (!m_historyForm || !m_program.Model())
        return;
    QList<THistoryForm::TRuleChoice> rules;
    const TBaseList& list = m_program.Model()->Rules();
    for (int i = 0; i < list.Count(); ++i) {
        if (const TRule* rule = list.Item<TRule>(i))
            rules.append({rule->ID(), rule->Name()});
    }
    m_historyForm->SetRules(rules);
}

bool TMainForm::PlaceCall(const QString& number)
{
    try {
        m_program.PlaceCall(number);
        return true;
    } catch (const std::exception& error) {
        Trace::Exception("Main::PlaceCall", error);
        TMessageBox::Warning(nullptr, QStringLiteral("Anrufen"),
                             QStringLiteral("Der Anruf konnte nicht aufgebaut werden:\n") +
                                 QString::fromUtf8(error.what()));
        return false;
    }
}

void TMainForm::BlockCaller(const TCallRecord& call)
{
    const QString title = QStringLiteral("Sperren");
    try {
        const QString who =
            call.callerName.isEmpty() ? call.number : call.callerName + QStringLiteral(" (") + call.number + u')';
        if (m_program.BlockNumber(call.number))
            TMessageBox::Notice(m_historyForm.get(), title,
                                QStringLiteral("Anrufe von %1 werden ab jetzt beendet, während sie klingeln.\n"
                                               "Die Nummer steht in der Regel \"%2\".")
                                    .arg(who, BlockedNumbers::RuleName));
        else
            TMessageBox::Notice(m_historyForm.get(), title, QStringLiteral("%1 ist bereits gesperrt.").arg(who));
    } catch (const std::exception& error) {
        Trace::Exception("Main::BlockNumber", error);
        TMessageBox::Warning(m_historyForm.get(), title, QString::fromUtf8(error.what()));
    }
}

void TMainForm::TestRuleWithCall(const QString& ruleId, const TCallRecord& call)
{
    try {
        TRuleTestForm test(m_program.Model(), ruleId, m_historyForm.get());
        if (call.direction == TCallDirection::Outgoing)
            test.SetLineValues({{QStringLiteral("CalledNumber"), call.number}});
        else
            test.SetLineValues(
                {{QStringLiteral("CallerNumber"), call.number}, {QStringLiteral("CallerName"), call.callerName}});
        test.exec();
    } catch (const std::exception& error) {
        // The rule may have gone with a model put in force meanwhile.
        Trace::Exception("Main::TestRuleWithCall", error);
    }
}

void TMainForm::FormClose()
{
    m_program.Shutdown();
}

void TMainForm::PlaceWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The work area: the desktop without panels.
    const QRect area = screen->availableGeometry();
    move(area.x() + area.width() - width() - 100, area.y() + area.height() - height() - 100);
}

void TMainForm::ShowTrayIcon()
{
    m_trayIcon->Show(m_trayAvailable);
    if (m_trayAvailable)
        return;
    Trace::Warning("Main::FormCreate:No system tray available, main window shown", TProgram::Title);
    ShowForm();
}

void TMainForm::TrayHostAppeared()
{
    Trace::Message("Main::TrayIcon:Notification area appeared, tray icon shown");
    m_trayAvailable = true;
}

void TMainForm::CreateWindowCollections()
{
    m_userInterface = std::make_unique<TDesktopUserInterface>(m_program);
    SetUserInterface(m_userInterface.get());
}

// At the tray icon where there is a tray; else in a message box that does not wait.
void TMainForm::ShowUserWarning(const QString& text)
{
    if (m_trayAvailable)
        m_trayIcon->ShowWarning(TProgram::Title, text);
    else
        TMessageBox::Notice(this, TProgram::Title, text);
}

void TMainForm::ReloadRuleList()
{
    m_ruleList->ReloadRuleList();
}

void TMainForm::GreetNewUser()
{
    Trace::Message("Main::GreetNewUser:Starter rules seeded, rule list shown");
    m_ruleList->ShowHint(true);
    ShowForm();
}

QString TMainForm::StatusText(bool softphoneConnected, bool active)
{
    QString text =
        softphoneConnected ? QStringLiteral("Softphone verbunden") : QStringLiteral("Softphone nicht verbunden");
    if (!active)
        text += QStringLiteral(" – Regelverarbeitung deaktiviert");
    return text;
}

void TMainForm::ShowStatus()
{
    const QString status = StatusText(m_program.SoftphoneConnected(), m_program.Active());
    m_ruleList->SetStatusText(status);
    m_trayIcon->SetStatus(status);
}

void TMainForm::ShowForm()
{
    Trace::Message("Main::ShowForm:Main window shown");
    show();
    if (isMinimized())
        showNormal();
    m_trayIcon->SetWindowShown(true);
    raise();
    activateWindow();
    PlaceWindow();
}

void TMainForm::HideForm()
{
    // The greeting is said once; the next time the list speaks for itself.
    m_ruleList->ShowHint(false);
    hide();
    m_trayIcon->SetWindowShown(false);
}

void TMainForm::ExitProgram()
{
    boolean_FCanClose = true;
    close();
}

void TMainForm::ShowSettings()
{
    if (!m_settingsForm) {
        Trace::Message("Main::ShowSettings:Settings dialog opened");
        // Without an owner: the main window is hidden most of the time.
        m_settingsForm =
            new TSettingsForm(m_program.StorageOptions(), m_program.NotificationSettings(),
                              [this](const TStorageOptions& options, const TNotificationSettings& settings) {
                                  m_program.SaveSettings(options, settings);
                              });
        m_settingsForm->setAttribute(Qt::WA_DeleteOnClose);
        m_settingsForm->setAttribute(Qt::WA_QuitOnClose, false);
    }
    m_settingsForm->show();
    m_settingsForm->raise();
    m_settingsForm->activateWindow();
}

TSettingsForm* TMainForm::SettingsForm() const
{
    return m_settingsForm;
}

void TMainForm::ShowAbout()
{
    TAboutForm about(TProgram::Title, GetAppVersion(), AboutLogo(), MakerWebAddress);
    about.exec();
}

void TMainForm::SetAutostart(bool enabled)
{
    try {
        Autostart::SetEnabled(enabled, QCoreApplication::applicationFilePath());
        Trace::Value("Main::SetAutostart:Start at login", enabled);
    } catch (const EKestrunError& error) {
        Trace::Exception("Main::SetAutostart", error);
        TMessageBox::Warning(nullptr, TProgram::Title,
                             QStringLiteral("Der Start beim Anmelden konnte nicht geändert werden.\n\n") +
                                 error.Message());
    }
    // The entry as it is now, whether or not the change went through.
    m_trayIcon->SetAutostart(Autostart::Enabled());
}

void TMainForm::FocusNewestNotification()
{
    if (!m_userInterface || !m_userInterface->MessageWindows().FocusNewest())
        TMessageBox::Information(nullptr, TProgram::Title, QStringLiteral("Es ist keine Benachrichtigung offen."));
}

void TMainForm::AllowClose(QSessionManager& /*manager*/)
{
    boolean_FCanClose = true;
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (boolean_FCanClose) {
        FormClose();
        event->accept();
        QCoreApplication::quit();
        return;
    }
    event->ignore();
    if (m_trayAvailable) {
        HideForm();
    } else {
        showMinimized();
    }
}
