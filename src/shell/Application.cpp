// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/Application.h"

#include "actions/ui/HtmlWebEngineStartup.h"
#include "platform/DisplayPlatform.h"
#include "platform/ProgramOptions.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "program/Program.h"
#include "shell/EventControllerService.h"
#include "shell/MainForm.h"
#include "shell/SecondStart.h"
#include "trace/Trace.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include <optional>

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

std::optional<TSingleInstance> TakeInstanceLock()
{
    try {
        return std::optional<TSingleInstance>(std::in_place, TSingleInstance::LockPath());
    } catch (const std::exception& error) {
        // No private folder for the lock: running twice is better than not running.
        qWarning("Single-instance check skipped: %s", error.what());
        return std::nullopt;
    }
}

} // namespace

int RunApplication(int argc, char** argv)
{
    // Answered before the instance check, which would hand them to the running instance.
    if (const std::optional<int> status = AnswerInformationOption(argc, argv))
        return *status;
    ApplyDisplayPlatform();
    // Ties the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrun-eventcontroller"));

    // Held for the life of the process; the kernel lets go of it at the end.
    const std::optional<TSingleInstance> instance = TakeInstanceLock();
    if (instance && !instance->IsFirst())
        return RunSecondStart(argc, argv);

    PrepareHtmlWebEngine();
    TApplication app(argc, argv);
    QApplication::setApplicationName(TProgram::Title);
    QApplication::setQuitOnLastWindowClosed(false);

    TProgram program;
    TMainForm mainForm(program, QSystemTrayIcon::isSystemTrayAvailable());
    // Installed before the start-up sequence: a signal that arrives while it runs
    // waits for the event loop instead of ending the program unsaved.
    OnTerminationSignal([&mainForm] { mainForm.ExitProgram(); });
    // The session manager may end the loop itself; the shutdown runs before it ends.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &mainForm, &TMainForm::FormClose);
    // Registered before the start-up sequence, whose calls wait in the queue until an
    // event loop runs: the rules that run at program start may wait for a mail server
    // or a program, and the interface answers meanwhile.
    TEventControllerService service(program, mainForm);
    service.Register();
    mainForm.FormCreate();

    int status = QApplication::exec();
    // The shutdown ran already and this only fetches the result. Rules that could
    // not be saved make the end a failure for whoever started the program (a
    // session manager, a script).
    const bool saved = program.Shutdown();
    if (!saved && status == 0)
        status = 1;
    return status;
}
