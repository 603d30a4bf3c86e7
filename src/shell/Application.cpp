#include "shell/Application.h"

#include "parameters/ui/InteractionForm.h"
#include "platform/TerminationSignals.h"
#include "shell/MainForm.h"
#include "trace/Trace.h"

#include <QApplication>

int RunApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(TMainForm::Title);
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterInteractionForm();

    TMainForm mainForm;
    try {
        mainForm.FormCreate();
    } catch (const std::exception& error) {
        // The program runs on with what was set up so far; without a trace the
        // only place left to say so is the terminal.
        Trace::Exception("Main::AppException", error);
        qWarning("Start-up failed: %s", error.what());
    }
    OnTerminationSignal([&mainForm] {
        mainForm.FormClose();
        QApplication::quit();
    });
    return QApplication::exec();
}
