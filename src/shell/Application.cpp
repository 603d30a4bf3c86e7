// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/Application.h"

#include "actions/ui/HtmlWebEngineStartup.h"
#include "platform/DisplayPlatform.h"
#include "platform/ProgramOptions.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "program/Program.h"
#include "shell/CommandLineExchange.h"
#include "shell/EventControllerService.h"
#include "shell/MainForm.h"
#include "shell/SecondStart.h"
#include "trace/Trace.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

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

QStringList Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

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
    // An administrator's command: no window, no display, and it takes the lock itself.
    if (const std::optional<TExchangeRequest> exchange = FindExchangeRequest(Arguments(argc, argv)))
        return RunExchangeRequest(argc, argv, *exchange);
    ApplyDisplayPlatform();
    // Ties the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrun-eventcontroller"));

    // Also answered before the instance check: neither is an argument to hand over.
    // The menu entry passes --show with a clicked link too; the link wins then.
    const std::optional<QString> dial = FindDialRequest(Arguments(argc, argv));
    const bool showRules = !dial && AsksToShowRules(argc, argv);

    // Held for the life of the process; the kernel lets go of it at the end.
    const std::optional<TSingleInstance> instance = TakeInstanceLock();
    if (dial) {
        if (const std::optional<int> status = RunDialRequest(argc, argv, *dial, instance && !instance->IsFirst()))
            return *status;
    }
    if (instance && !instance->IsFirst())
        return showRules ? RunShowRules(argc, argv) : RunSecondStart(argc, argv);

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
    // Run from the main event loop, not before it: a Quit or a signal handled while a
    // start-up rule waits in a local loop must end that wait and the program. Before
    // the main loop runs, quitting does neither, and the program would stay up after
    // its shutdown had run.
    QTimer::singleShot(0, &mainForm, [&mainForm, showRules, dial] {
        mainForm.FormCreate();
        if (showRules) {
            Trace::Message("Main::FormCreate:Rule list shown as asked at start");
            mainForm.ShowForm();
        }
        // A start from a link: the call goes out once the program has started.
        if (dial)
            mainForm.PlaceCall(*dial);
    });

    int status = QApplication::exec();
    // The shutdown ran already and this only fetches the result. Rules that could
    // not be saved make the end a failure for whoever started the program (a
    // session manager, a script).
    const bool saved = program.Shutdown();
    if (!saved && status == 0)
        status = 1;
    return status;
}
