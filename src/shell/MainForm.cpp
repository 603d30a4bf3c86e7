// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/MainForm.h"

#include "model/IconList.h"
#include "platform/AppVersion.h"
#include "platform/DataPaths.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "shell/AboutForm.h"
#include "shell/DesktopUserInterface.h"
#include "shell/RuleListForm.h"
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

const QString TMainForm::SettingsNotAvailableText =
    QStringLiteral("Der Einstellungsdialog ist in dieser Version noch nicht enthalten.");

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
    // A fixed frame with only a system menu, as a white sheet.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QPalette sheet = palette();
    sheet.setColor(QPalette::Window, Qt::white);
    setPalette(sheet);
    setAutoFillBackground(true);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_ruleList, &TRuleListForm::HideRequested, this, &TMainForm::HideForm);
    connect(m_trayIcon, &TTrayIcon::ShowClicked, this, &TMainForm::ShowForm);
    connect(m_trayIcon, &TTrayIcon::HideClicked, this, &TMainForm::HideForm);
    connect(m_trayIcon, &TTrayIcon::DisableClicked, this, [this] { m_program.SetActive(false); });
    connect(m_trayIcon, &TTrayIcon::EnableClicked, this, [this] { m_program.SetActive(true); });
    connect(m_trayIcon, &TTrayIcon::SettingsClicked, this, &TMainForm::ShowSettings);
    connect(m_trayIcon, &TTrayIcon::AboutClicked, this, &TMainForm::ShowAbout);
    connect(m_trayIcon, &TTrayIcon::ExitClicked, this, &TMainForm::ExitProgram);
    // The program's state, whoever changes it (the menu, the program's D-Bus interface).
    connect(&m_program, &TProgram::ActiveChanged, m_trayIcon, &TTrayIcon::SetProcessingActive);
    connect(&m_program, &TProgram::ModelChanged, this, &TMainForm::ReloadRuleList);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TMainForm::AllowClose);
    m_trayIcon->SetProcessingActive(m_program.Active());
}

TMainForm::~TMainForm()
{
    if (m_userInterface && UserInterface() == m_userInterface.get())
        SetUserInterface(nullptr);
}

void TMainForm::FormCreate()
{
    m_program.Start(this);
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
    if (m_trayAvailable) {
        m_trayIcon->Show();
        return;
    }
    Trace::Warning("Main::FormCreate:No system tray available, main window shown", TProgram::Title);
    ShowForm();
}

void TMainForm::CreateWindowCollections()
{
    m_userInterface = std::make_unique<TDesktopUserInterface>(m_program);
    SetUserInterface(m_userInterface.get());
}

void TMainForm::ReloadRuleList()
{
    m_ruleList->ReloadRuleList();
}

void TMainForm::ShowForm()
{
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
    // Without an owner: the main window is hidden most of the time.
    TMessageBox::Information(nullptr, TProgram::Title, SettingsNotAvailableText);
}

void TMainForm::ShowAbout()
{
    TAboutForm about(TProgram::Title, GetAppVersion(), AboutLogo(), MakerWebAddress);
    about.exec();
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
