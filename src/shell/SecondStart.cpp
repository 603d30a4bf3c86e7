// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/SecondStart.h"

#include "platform/HandoffMessage.h"
#include "widgets/MessageBox.h"

#include <QApplication>

int RunSecondStart(int argc, char** argv)
{
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!argument.isEmpty()) {
        // No window and no display needed: the softphone may start us from anywhere.
        try {
            SendHandoffMessage(HandoffSocketPath(), BuildHandoffMessage(argument));
        } catch (const std::exception&) {
            // Nobody is told: a hand-off that finds no reader ends the same way.
        }
        return 0;
    }
    QApplication app(argc, argv);
    ShowAlreadyRunning();
    return 1;
}

void ShowAlreadyRunning()
{
    // The caption is spelt as users have always seen it, unlike the program's title.
    TMessageBox::Critical(nullptr, QStringLiteral("Kestrun EventController for OrvixIt!"),
                          QStringLiteral("Application already running."));
}
