// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/TrayIcon.h"

#include "model/IconList.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>

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

// Asking for the notification area is a question to the display server; a few
// seconds are soon enough for a panel that is still starting.
constexpr int HostWatchInterval = 2000;

} // namespace

TTrayIcon::TTrayIcon(const QString& hint, QObject* parent)
    : QObject(parent)
    , m_hint(hint)
    , m_menu(std::make_unique<QMenu>())
    , m_hostWatch(new QTimer(this))
    , m_icon(new QSystemTrayIcon(this))
    , m_images {TrayImage(0), TrayImage(1)}
{
    setObjectName(QStringLiteral("trayIcon"));
    sysTrayShow = AddAction(QStringLiteral("sysTrayShow"), QStringLiteral("Wiederherstellen"), &TTrayIcon::ShowClicked);
    sysTrayHide = AddAction(QStringLiteral("sysTrayHide"), QStringLiteral("Ausblenden"), &TTrayIcon::HideClicked);
    sysTrayDisable =
        AddAction(QStringLiteral("sysTrayDisable"), QStringLiteral("Deaktivieren"), &TTrayIcon::DisableClicked);
    sysTrayEnable = AddAction(QStringLiteral("sysTrayEnable"), QStringLiteral("Aktivieren"), &TTrayIcon::EnableClicked);
    AddAction(QStringLiteral("sysTrayHistory"), QStringLiteral("Anrufliste"), &TTrayIcon::HistoryClicked);
    AddAction(QStringLiteral("sysTraySettings"), QStringLiteral("Einstellungen"), &TTrayIcon::SettingsClicked);
    sysTrayAutostart = new QAction(QStringLiteral("Beim Anmelden starten"), this);
    sysTrayAutostart->setObjectName(QStringLiteral("sysTrayAutostart"));
    sysTrayAutostart->setCheckable(true);
    connect(sysTrayAutostart, &QAction::triggered, this, &TTrayIcon::AutostartToggled);
    m_menu->addAction(sysTrayAutostart);
    AddAction(QStringLiteral("sysTrayNewestNotification"), QStringLiteral("Zur neuesten Benachrichtigung"),
              &TTrayIcon::NewestNotificationClicked);
    m_menu->addSeparator();
    AddAction(QStringLiteral("sysTrayAbout"), QStringLiteral("Über..."), &TTrayIcon::AboutClicked);
    AddAction(QStringLiteral("sysTrayExit"), QStringLiteral("Beenden"), &TTrayIcon::ExitClicked);

    m_icon->setToolTip(hint);
    m_hostWatch->setInterval(HostWatchInterval);
    connect(m_hostWatch, &QTimer::timeout, this, &TTrayIcon::CheckHost);
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

void TTrayIcon::Show(bool hostAvailable)
{
    // Shown also without a notification area: the icon goes into one that comes later.
    m_icon->show();
    if (!hostAvailable)
        m_hostWatch->start();
}

void TTrayIcon::CheckHost()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_hostWatch->stop();
    // Put in anew rather than trusting that the platform did it when the area came.
    m_icon->hide();
    m_icon->show();
    emit HostAppeared();
}

void TTrayIcon::SetAutostart(bool enabled)
{
    sysTrayAutostart->setChecked(enabled);
}

void TTrayIcon::SetStatus(const QString& status)
{
    m_status = status;
    ShowToolTip();
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
    m_active = active;
    ShowImage();
}

void TTrayIcon::SetMissedCalls(int count)
{
    m_missedCalls = std::max(0, count);
    ShowImage();
    ShowToolTip();
}

void TTrayIcon::ShowToolTip()
{
    QString tip = m_hint;
    if (!m_status.isEmpty())
        tip += u'\n' + m_status;
    if (m_missedCalls == 1)
        tip += QStringLiteral("\n1 verpasster Anruf");
    else if (m_missedCalls > 1)
        tip += QStringLiteral("\n%1 verpasste Anrufe").arg(m_missedCalls);
    m_icon->setToolTip(tip);
}

void TTrayIcon::ShowImage()
{
    const QIcon& image = m_images[m_active ? 0 : 1];
    m_icon->setIcon(m_missedCalls > 0 ? WithBadge(image, m_missedCalls) : image);
}

// A red disc in the upper right quarter with the count in white, "9+" beyond nine.
QIcon TTrayIcon::WithBadge(const QIcon& icon, int count)
{
    const QString text = count > 9 ? QStringLiteral("9+") : QString::number(count);
    QIcon badged;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap = icon.pixmap(QSize(size, size));
        pixmap.setDevicePixelRatio(1.0);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal diameter = size * 0.62;
        const QRectF disc(size - diameter, 0, diameter, diameter);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xc6, 0x28, 0x28));
        painter.drawEllipse(disc);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(6, int(diameter * (text.size() > 1 ? 0.5 : 0.7))));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(disc, Qt::AlignCenter, text);
        painter.end();
        badged.addPixmap(pixmap);
    }
    return badged;
}

void TTrayIcon::ShowWarning(const QString& title, const QString& text)
{
    // Long enough to read a path.
    constexpr int ShownMs = 30000;
    m_icon->showMessage(title, text, QSystemTrayIcon::Warning, ShownMs);
}
