// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/TrayIcon.h"

#include "model/IconList.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

struct TTrayImage
{
    const char* icon;
    QColor color;
};

// A shape and a colour each, so that on and off differ also for the colour-blind
// and on monochrome panels.
const TTrayImage TrayImages[2] = {
    {"phone_enabled", QColor(0x2e, 0x7d, 0x32)},
    {"phone_disabled", QColor(0x75, 0x75, 0x75)},
};

} // namespace

TTrayIcon::TTrayIcon(const QString& hint, QObject* parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_icon(new QSystemTrayIcon(this))
    , m_images {TrayImage(0), TrayImage(1)}
{
    setObjectName(QStringLiteral("trayIcon"));
    sysTrayShow = AddAction(QStringLiteral("sysTrayShow"), QStringLiteral("Wiederherstellen"), &TTrayIcon::ShowClicked);
    sysTrayHide = AddAction(QStringLiteral("sysTrayHide"), QStringLiteral("Ausblenden"), &TTrayIcon::HideClicked);
    sysTrayDisable =
        AddAction(QStringLiteral("sysTrayDisable"), QStringLiteral("Deaktivieren"), &TTrayIcon::DisableClicked);
    sysTrayEnable = AddAction(QStringLiteral("sysTrayEnable"), QStringLiteral("Aktivieren"), &TTrayIcon::EnableClicked);
    AddAction(QStringLiteral("sysTraySettings"), QStringLiteral("Einstellungen"), &TTrayIcon::SettingsClicked);
    m_menu->addSeparator();
    AddAction(QStringLiteral("sysTrayAbout"), QStringLiteral("Über..."), &TTrayIcon::AboutClicked);
    AddAction(QStringLiteral("sysTrayExit"), QStringLiteral("Beenden"), &TTrayIcon::ExitClicked);

    m_icon->setToolTip(hint);
    m_icon->setContextMenu(m_menu.get());
    // Hosts of the StatusNotifierItem protocol report a left click as Trigger and
    // never a double click; both mean "show me the program".
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
            emit ShowClicked();
    });
    SetWindowShown(false);
    SetProcessingActive(true);
}

TTrayIcon::~TTrayIcon() = default;

QAction* TTrayIcon::AddAction(const QString& name, const QString& caption, void (TTrayIcon::*clicked)())
{
    // Owned by this object rather than the menu, so that they are found among its children.
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, clicked);
    m_menu->addAction(action);
    return action;
}

QIcon TTrayIcon::TrayImage(int index)
{
    const TTrayImage& image = TrayImages[index];
    const IconList& icons = IconList::Instance();
    QIcon icon;
    // Panels ask for 16 to 48 pixels; drawn from the SVG at each size rather than scaled.
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(
            icons.Render(icons.IndexOf(QString::fromLatin1(image.icon)), QSize(size, size), image.color)));
    return icon;
}

void TTrayIcon::Show()
{
    m_icon->show();
}

void TTrayIcon::SetWindowShown(bool shown)
{
    sysTrayShow->setVisible(!shown);
    sysTrayHide->setVisible(shown);
}

void TTrayIcon::SetProcessingActive(bool active)
{
    sysTrayDisable->setVisible(active);
    sysTrayEnable->setVisible(!active);
    m_icon->setIcon(m_images[active ? 0 : 1]);
}
