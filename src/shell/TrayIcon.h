// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QObject>

#include <array>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

/**
 * @brief The icon in the notification area and its menu, the user's way in.
 *
 * The menu holds, in this order: "Wiederherstellen" (sysTrayShow), "Ausblenden"
 * (sysTrayHide), "Deaktivieren" (sysTrayDisable), "Aktivieren" (sysTrayEnable),
 * "Einstellungen" (sysTraySettings), a separator, "Über..." (sysTrayAbout) and
 * "Beenden" (sysTrayExit). Of each pair only the entry that changes something is
 * visible; the owner reports the state with SetWindowShown and SetProcessingActive.
 * The icon shows image 0 while rules are processed, image 1 while not. It only
 * reports what the user chose (the signals); the owner acts on it.
 */
class TTrayIcon : public QObject
{
    Q_OBJECT

public:
    // hint: the text shown when the pointer rests on the icon.
    TTrayIcon(const QString& hint, QObject* parent);
    ~TTrayIcon() override;

    void Show();
    void SetWindowShown(bool shown);
    void SetProcessingActive(bool active);

    // The two images of the icon: 0 processing on, 1 processing off.
    static QIcon TrayImage(int index);

signals:
    // A double click on the icon (or the host's single "activate" click) or "Wiederherstellen".
    void ShowClicked();
    void HideClicked();
    void DisableClicked();
    void EnableClicked();
    void SettingsClicked();
    void AboutClicked();
    void ExitClicked();

private:
    QAction* AddAction(const QString& name, const QString& caption, void (TTrayIcon::*clicked)());

    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon;
    std::array<QIcon, 2> m_images;
    QAction* sysTrayShow;
    QAction* sysTrayHide;
    QAction* sysTrayDisable;
    QAction* sysTrayEnable;
};
