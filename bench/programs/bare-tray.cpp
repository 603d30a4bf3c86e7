// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up baseline: a bare Qt program that shows a tray icon and nothing else.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkGreen);
    QSystemTrayIcon tray {QIcon(pixmap)};
    tray.setToolTip(QStringLiteral("bare"));
    tray.show();
    return QApplication::exec();
}
