#include "shell/Application.h"

#include "actions/ui/HtmlWebEngineStartup.h"
#include "platform/TerminationSignals.h"
#include "program/Program.h"
#include "shell/DesktopUserInterface.h"
#include "shell/MainForm.h"
#include "trace/Trace.h"

#include <QApplication>

namespace {

// The last-chance handler: an exception that no boundary caught in an event
// handler is traced and the program goes on; nothing crosses the event loop.
class TApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            Trace::Exception("Main::AppException", error);
        } catch (...) {
            Trace::Error("Main::AppException", QStringLiteral("unknown exception"));
        }
        return false;
    }
};

} // namespace

int RunApplication(int argc, char** argv)
{
    PrepareHtmlWebEngine();
    TApplication app(argc, argv);
    QApplication::setApplicationName(TProgram::Title);
    QApplication::setQuitOnLastWindowClosed(false);
    TProgram program;
    TDesktopUserInterface userInterface(program);
    SetUserInterface(&userInterface);

    TMainForm mainForm(program);
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
    int status = QApplication::exec();
    // The signal has shut down already and this only fetches the result; a loop
    // ended any other way shuts down here. Rules that could not be saved make the
    // end a failure for whoever started the program (a session manager, a script).
    const bool saved = program.Shutdown();
    if (!saved && status == 0)
        status = 1;
    SetUserInterface(nullptr);
    return status;
}
