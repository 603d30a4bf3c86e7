// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "program/StartupWindows.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace Ui {
class TMainForm;
}

class QSessionManager;
struct TCallRecord;
class TDesktopUserInterface;
class THistoryForm;
class TProgram;
class TRuleListForm;
class TSettingsForm;
class TTrayIcon;

/**
 * @brief The program's main window, created hidden at start, and its tray icon.
 *
 * Its creation runs the program's start-up sequence (it does the windows' steps
 * of it); "Beenden" in the tray menu closes it for good, which runs the shutdown
 * sequence and ends the event loop. Any other request to close it only hides it:
 * the program lives in the tray. Without a tray it shows itself at start and is
 * minimised instead of hidden, so that the user always finds it.
 *
 * Its content is the rule list (TRuleListForm). The window and the tray
 * icon's tool tip say whether the softphone is connected and whether rule
 * processing is switched off, and follow both.
 */
class TMainForm : public QWidget, public TStartupWindows
{
    Q_OBJECT

public:
    // trayAvailable: whether the desktop has a notification area to put the icon in.
    TMainForm(TProgram& program, bool trayAvailable);
    ~TMainForm() override;

    void FormCreate();
    // The shutdown sequence; runs once, later calls do nothing.
    void FormClose();

    // "Wiederherstellen" and a double click on the tray icon: shows the window at its place.
    void ShowForm();
    // "Ausblenden".
    void HideForm();
    // "Beenden": closes the window for good, which ends the program.
    void ExitProgram();
    // "Einstellungen" and ShowSettings on the bus: the settings dialog, one at a
    // time; a second request brings the open one to the front.
    void ShowSettings();
    // The open settings dialog; null while none is open.
    TSettingsForm* SettingsForm() const;
    // "Über...".
    void ShowAbout();
    // "Beim Anmelden starten".
    void SetAutostart(bool enabled);
    // "Zur neuesten Benachrichtigung": the newest notification takes the keyboard.
    void FocusNewestNotification();

    // The status line of the window and the tool tip.
    static QString StatusText(bool softphoneConnected, bool active);
    // "Anrufliste" in the tray menu and the rule list, and ShowHistory on the bus.
    void ShowHistory();
    // Places a call through the softphone; a refusal is told in a message box. False then.
    bool PlaceCall(const QString& number);

    void PlaceWindow() override;
    void ShowTrayIcon() override;
    void CreateWindowCollections() override;
    void ReloadRuleList() override;
    void GreetNewUser() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowStatus();
    // A notification area came after the program had started.
    void TrayHostAppeared();
    // The session may end: from now on a close request ends the program.
    void AllowClose(QSessionManager& manager);
    void ShowUserWarning(const QString& text);
    void ConnectMissedCalls();
    void UpdateHistoryRules();
    void TestRuleWithCall(const QString& ruleId, const TCallRecord& call);
    void BlockCaller(const TCallRecord& call);

    TProgram& m_program;
    std::unique_ptr<Ui::TMainForm> ui;
    TRuleListForm* m_ruleList;
    TTrayIcon* m_trayIcon;
    // A window of its own, not inside the main window, which is hidden most of the time; made when first shown.
    std::unique_ptr<THistoryForm> m_historyForm;
    // Not modal, so that notifications stay usable meanwhile; it deletes itself when closed.
    QPointer<TSettingsForm> m_settingsForm;
    bool m_trayAvailable;
    std::unique_ptr<TDesktopUserInterface> m_userInterface;
    bool boolean_FCanClose = false;
};
