#include "shell/Application.h"

#include "platform/TerminationSignals.h"
#include "shell/MainForm.h"
#include "trace/Trace.h"

#include <QApplication>

int RunApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(TMainForm::Title);
    QApplication::setQuitOnLastWindowClosed(false);

    TMainForm mainForm;
    // Installed before the start-up sequence: a signal that arrives while it runs
    // waits for the event loop instead of ending the program unsaved.
    OnTerminationSignal([&mainForm] {
        mainForm.FormClose();
        QApplication::quit();
    });
    try {
        mainForm.FormCreate();
    } catch (const std::exception& error) {
        // The program runs on with what was set up so far; without a trace the
        // only place left to say so is the terminal.
        Trace::Exception("Main::AppException", error);
        qWarning("Start-up failed: %s", error.what());
    }
    return QApplication::exec();
}
