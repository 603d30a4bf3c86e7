// SPDX-License-Identifier: GPL-3.0-or-later

// The notification window on screen. From the softphone's announcement of a
// ringing call (orvix-linesim, through the session bus) to the caller's
// notification window exposed on the display: the event controller reads the
// line, matches the rule, resolves the parameters and opens the window. The
// baseline is the same announcement to a plain handler that shows a bare
// frameless window of the same size, until that window is exposed. Then the
// memory of the program with 10 open notification windows and 2 HTML messages,
// printed as a figure. Needs a display: bench/run starts Xvfb when there is none.
#include "BenchRatios.h"
#include "SimulatedSoftphone.h"

#include "actions/ActionBalloonMessage.h"
#include "actions/ui/HtmlWebEngineStartup.h"
#include "engine/RulesRun.h"
#include "parameters/ParameterOrvix.h"
#include "program/Program.h"
#include "rulesfile/Parameters.h"
#include "shell/DesktopUserInterface.h"
#include "telephony/OrvixEvent.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace {

const QString Caption = QStringLiteral("Anrufer");

// Notes when a top-level window of the given title is first exposed.
class ExposeMark : public QObject
{
public:
    explicit ExposeMark(QString title)
        : m_title(std::move(title))
    {
        qApp->installEventFilter(this);
    }
    ~ExposeMark() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && exposed.time_since_epoch().count() == 0) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed() && window->title() == m_title)
                exposed = Clock::now();
        }
        return false;
    }

    Clock::time_point exposed;

private:
    QString m_title;
};

// Every incoming call shows the caller's name and number.
std::shared_ptr<TParameters> NotificationModel()
{
    auto* balloon = new TActionBalloonMessage;
    balloon->SetCaption(Caption);
    for (const char* value : {"orvixCallerName", "orvixCallerNumber"}) {
        auto* parameter = new TParameterOrvix;
        parameter->SetParameterValue(QString::fromLatin1(value));
        balloon->AddNewItem(parameter);
    }
    return IncomingCallModel(balloon);
}

// Plays calls, each timed until a window of the benchmark's caption is exposed;
// afterCall takes the window away again.
void TimeCallsUntilExposed(benchmark::State& state, SignalMark& mark, const std::function<void()>& afterCall)
{
    SimulatedSoftphone& softphone = SimulatedSoftphone::Instance();
    for (auto _ : state) {
        ExposeMark exposed(Caption);
        const auto elapsed = softphone.OneCall(mark, [&exposed](Clock::time_point& at) {
            at = exposed.exposed;
            return at.time_since_epoch().count() != 0;
        });
        state.SetIterationTime(elapsed.count());
        afterCall();
    }
}

// The program's windows, with the settings a new user has.
struct Desktop
{
    Desktop()
        : ui(program)
    {
        SetUserInterface(&ui);
    }
    ~Desktop() { SetUserInterface(nullptr); }
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    TProgram program;
    TDesktopUserInterface ui;
};

void BM_BareWindowOnRinging(benchmark::State& state)
{
    SignalMark mark;
    Connect(mark);
    std::unique_ptr<QWidget> window;
    mark.onRinging = [&window] {
        window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
        window->setWindowTitle(Caption);
        window->resize(370, 170);
        window->show();
    };
    TimeCallsUntilExposed(state, mark, [&window] { window.reset(); });
}
BENCHMARK(BM_BareWindowOnRinging)->UseManualTime()->Iterations(50)->Repetitions(3)->Unit(benchmark::kMillisecond);

void BM_NotificationWindowOnRinging(benchmark::State& state)
{
    SimulatedSoftphone& softphone = SimulatedSoftphone::Instance();
    Desktop desktop;
    const std::shared_ptr<TParameters> model = NotificationModel();
    TOrvixEventController controller(&softphone.Bus());
    controller.SetRuleRunner(
        [model](TOrvixLine& line, const QString& lineState) { RunRules(*model, line, lineState); });
    SignalMark mark;
    Connect(mark);
    TimeCallsUntilExposed(state, mark, [&desktop] { desktop.ui.CloseMessageWindows(); });
}
BENCHMARK(BM_NotificationWindowOnRinging)
    ->UseManualTime()
    ->Iterations(50)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// Resident memory of this process and of its children (the web engine's processes), in MiB.
double ResidentMiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double ChildrenResidentMiB(qint64 parent)
{
    double total = 0;
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : processes) {
        bool isPid = false;
        const qint64 pid = name.toLongLong(&isPid);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(name));
        if (!isPid || !stat.open(QIODevice::ReadOnly))
            continue;
        // The parent's pid is the second field after the parenthesised command name.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.value(1).toLongLong() == parent)
            total += ResidentMiB(pid) + ChildrenResidentMiB(pid);
    }
    return total;
}

void PrintMemoryWithOpenWindows()
{
    Desktop desktop;
    TMessageWindowRequest balloon;
    balloon.Caption = Caption;
    balloon.Rows = {{QStringLiteral("Name"), QStringLiteral("Anna Berg")},
                    {QStringLiteral("Nummer"), QStringLiteral("0301234567")},
                    {QStringLiteral("Firma"), QStringLiteral("Berg & Söhne")}};
    for (int i = 0; i < 10; ++i)
        desktop.ui.ShowMessageWindow(balloon);

    QTemporaryDir pages;
    for (int i = 0; i < 2; ++i) {
        const QString path = pages.filePath(QStringLiteral("page%1.htm").arg(i));
        QFile page(path);
        if (page.open(QIODevice::WriteOnly))
            page.write("<html><body><h1>Kundenkarte</h1><p>Anna Berg, Berg &amp; S\xc3\xb6hne</p></body></html>");
        TMessageWindowRequest html;
        html.Kind = TMessageWindowRequest::TKind::Html;
        html.ActionID = QStringLiteral("{html-%1}").arg(i);
        html.Caption = QStringLiteral("Kundenkarte");
        html.Page.WebserverUrl = QUrl::fromLocalFile(path).toString();
        desktop.ui.ShowMessageWindow(html);
    }
    // Long enough for the pages to load and every window to be drawn.
    QDeadlineTimer settle(3000);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const qint64 self = QCoreApplication::applicationPid();
    std::printf("notification_windows_memory_program: %.1f MiB\n", ResidentMiB(self));
    std::printf("notification_windows_memory_web_engine: %.1f MiB\n", ChildrenResidentMiB(self));
    std::fflush(stdout);
    desktop.ui.CloseMessageWindows();
}

} // namespace

int main(int argc, char** argv)
{
    PrepareHtmlWebEngine();
    QApplication app(argc, argv);
    const int status = RunBenchmarksWithGoals(
        argc, argv,
        {{"notification_window_vs_bare_window", "BM_NotificationWindowOnRinging", "BM_BareWindowOnRinging", 2.0}});
    PrintMemoryWithOpenWindows();
    return status;
}
