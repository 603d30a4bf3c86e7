// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QObject>

#include <array>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

/**
 * @brief The icon in the notification area and its menu, the user's way in.
 *
 * The menu holds, in this order: "Wiederherstellen" (sysTrayShow), "Ausblenden"
 * (sysTrayHide), "Deaktivieren" (sysTrayDisable), "Aktivieren" (sysTrayEnable),
 * "Anrufliste" (sysTrayHistory), "Einstellungen" (sysTraySettings), a separator,
 * "Über..." (sysTrayAbout) and
 * "Beenden" (sysTrayExit), and after "Einstellungen" the switch "Beim Anmelden
 * starten" (sysTrayAutostart) and "Zur neuesten Benachrichtigung"
 * (sysTrayNewestNotification), the keyboard's way to a notification's buttons.
 * Of each pair only the entry that changes something is visible; the owner
 * reports the state with SetWindowShown, SetProcessingActive and SetAutostart.
 * The icon shows image 0 while rules are processed, image 1 while not; its tool
 * tip is the hint and, below it, the status the owner gives and the missed calls.
 * It only reports what the user chose (the signals); the owner acts on it.
 *
 * A panel that starts after the program (as at login) brings its notification
 * area later: while there is none, the icon watches for it and reports it with
 * HostAppeared. The icon shown before goes into it.
 */
class TTrayIcon : public QObject
{
    Q_OBJECT

public:
    // hint: the text shown when the pointer rests on the icon.
    TTrayIcon(const QString& hint, QObject* parent);
    ~TTrayIcon() override;

    // hostAvailable: whether there is a notification area now; without one the
    // icon waits for it.
    void Show(bool hostAvailable);
    void SetWindowShown(bool shown);
    void SetProcessingActive(bool active);
    // A warning balloon at the icon, for what the user must learn without being asked.
    void ShowWarning(const QString& title, const QString& text);
    void SetAutostart(bool enabled);
    // The second line of the tool tip.
    void SetStatus(const QString& status);
    // The missed calls not yet seen in the call history: a badge with their number
    // on the icon and a line in its tool tip; none at 0.
    void SetMissedCalls(int count);

    // The two images of the icon: 0 processing on, 1 processing off.
    static QIcon TrayImage(int index);

signals:
    // A double click on the icon (or the host's single "activate" click) or "Wiederherstellen".
    void ShowClicked();
    void HideClicked();
    void DisableClicked();
    void EnableClicked();
    void SettingsClicked();
    void AutostartToggled(bool enabled);
    void NewestNotificationClicked();
    // A notification area appeared after the program had started.
    void HostAppeared();
    void HistoryClicked();
    void AboutClicked();
    void ExitClicked();

private:
    void CheckHost();
    QAction* AddAction(const QString& name, const QString& caption, void (TTrayIcon::*clicked)());
    void ShowImage();
    static QIcon WithBadge(const QIcon& icon, int count);
    void ShowToolTip();

    const QString m_hint;
    QString m_status;
    bool m_active = true;
    int m_missedCalls = 0;
    std::unique_ptr<QMenu> m_menu;
    QTimer* m_hostWatch;
    QSystemTrayIcon* m_icon;
    std::array<QIcon, 2> m_images;
    QAction* sysTrayShow;
    QAction* sysTrayHide;
    QAction* sysTrayDisable;
    QAction* sysTrayEnable;
    QAction* sysTrayAutostart;
};
