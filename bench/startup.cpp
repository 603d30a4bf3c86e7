// SPDX-License-Identifier: GPL-3.0-or-later

// From the start of the process to its tray icon on screen: the event controller
// (a first start with no rules file in a private folder, no softphone) against a
// bare Qt program that shows a tray icon and nothing else, in the same run. Needs
// an X display with a tray host (bench/run starts Xvfb and trayer when there is no
// display). An icon is on screen when the tray host has taken its window in and
// mapped it: the first viewable window whose WM_CLASS names the program.
#include "BenchRatios.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Whether a viewable window below `window` has the instance name `name`.
bool HasViewableWindow(Display* display, Window window, const char* name)
{
    XClassHint hint {};
    if (XGetClassHint(display, window, &hint)) {
        const bool named = hint.res_name && std::strcmp(hint.res_name, name) == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        XWindowAttributes attributes {};
        if (named && XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable)
            return true;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = HasViewableWindow(display, children[i], name);
    if (children)
        XFree(children);
    return found;
}

// Windows come and go while the tree is walked; a request about one that just went
// fails, which only means it is not the icon (Xlib's default handler would exit).
int IgnoreGoneWindows(Display*, XErrorEvent*)
{
    return 0;
}

class X11Display
{
public:
    X11Display()
        : m_display(XOpenDisplay(nullptr))
    {
        if (!m_display)
            throw std::runtime_error("no X display (bench/run starts one when DISPLAY is empty)");
        XSetErrorHandler(&IgnoreGoneWindows);
    }
    ~X11Display() { XCloseDisplay(m_display); }
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    bool Shows(const char* name) { return HasViewableWindow(m_display, DefaultRootWindow(m_display), name); }

private:
    Display* m_display;
};

// Starts the program in a fresh private environment and returns the time until its tray icon is on screen.
double SecondsToTrayIcon(const QString& program)
{
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));

    X11Display display;
    const QByteArray name = QFileInfo(program).fileName().toLocal8Bit();
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto started = Clock::now();
    process.start(program, {});
    if (!process.waitForStarted())
        throw std::runtime_error("the program did not start");
    const auto deadline = started + std::chrono::seconds(20);
    while (!display.Shows(name.constData())) {
        if (Clock::now() > deadline || process.state() == QProcess::NotRunning)
            throw std::runtime_error("no tray icon appeared (is a tray host running?)");
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    process.terminate();
    if (!process.waitForFinished(10000))
        process.kill();
    // The tray host lets the icon go a moment after the process: wait for it, so
    // that the next start does not find the last one's icon.
    while (display.Shows(name.constData()))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return seconds;
}

void StartToTrayIcon(benchmark::State& state, const char* program)
{
    for (auto _ : state) {
        try {
            state.SetIterationTime(SecondsToTrayIcon(QString::fromLocal8Bit(program)));
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            break;
        }
    }
}

void BM_BareTrayStart(benchmark::State& state)
{
    StartToTrayIcon(state, BENCH_BARE_TRAY_EXECUTABLE);
}
BENCHMARK(BM_BareTrayStart)->UseManualTime()->Iterations(10)->Repetitions(3)->Unit(benchmark::kMillisecond);

void BM_ProgramTrayStart(benchmark::State& state)
{
    StartToTrayIcon(state, KESTRUN_EXECUTABLE);
}
BENCHMARK(BM_ProgramTrayStart)->UseManualTime()->Iterations(10)->Repetitions(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarksWithGoals(
        argc, argv, {{"startup_to_tray_icon_vs_bare_qt", "BM_ProgramTrayStart", "BM_BareTrayStart", 1.5}});
}
