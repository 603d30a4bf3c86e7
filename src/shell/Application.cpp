#include "shell/Application.h"

#include <QApplication>

int RunApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrun Event Controller for OrvixIt!"));
    QApplication::setQuitOnLastWindowClosed(false);
    return QApplication::exec();
}
