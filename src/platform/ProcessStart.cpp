// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ProcessStart.h"

#include "platform/BackgroundWait.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

std::optional<qint64> StartDetachedProcess(const QString& program, const QStringList& arguments, QString* error)
{
    // Qt starts a detached process through a double fork with setsid() in between and
    // reports a failed exec, which is what running it in a group of its own needs.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    qint64 pid = 0;
    if (process.startDetached(&pid))
        return pid;
    if (error)
        *error = process.errorString();
    return std::nullopt;
}

void WaitForProcessEnd(qint64 pid)
{
    // The process is a grandchild that init reaps, so it cannot be waited for with
    // waitpid; a pidfd becomes readable when it ends. When it has already ended and
    // been reaped, there is no pidfd to open and nothing to wait for.
    const int pidfd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (pidfd < 0)
        return;
    QEventLoop loop;
    QSocketNotifier ended(pidfd, QSocketNotifier::Read);
    QObject::connect(&ended, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    loop.exec();
    ended.setEnabled(false);
    ::close(pidfd);
}

namespace {

struct TProcessOutcome
{
    std::optional<int> Status;
    QString Error;
};

// Whether the process ended within handOverMs. Looks at the abandoned flag ten times
// a second: a program that quits meanwhile does not wait for the rest.
bool EndsWithin(int pidfd, int handOverMs, const std::atomic<bool>& abandoned)
{
    constexpr int SliceMs = 100;
    pollfd ended {pidfd, POLLIN, 0};
    for (int waited = 0; waited < handOverMs && !abandoned.load(std::memory_order_relaxed); waited += SliceMs) {
        if (::poll(&ended, 1, std::min(SliceMs, handOverMs - waited)) != 0)
            return true;
    }
    return false;
}

TProcessOutcome SpawnAndWait(const QString& program, const QStringList& arguments, int handOverMs,
                             const std::atomic<bool>& abandoned)
{
    std::vector<QByteArray> storage {QFile::encodeName(program)};
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    argv.reserve(storage.size() + 1);
    for (QByteArray& argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: signals meant for this program do not reach it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv.front(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        return {std::nullopt,
                QStringLiteral("%1 cannot be started: %2").arg(program, QString::fromLocal8Bit(std::strerror(failed)))};

    const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0 && !EndsWithin(pidfd, handOverMs, abandoned)) {
        ::close(pidfd);
        std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
        return {0, {}};
    }
    if (pidfd >= 0)
        ::close(pidfd);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    if (WIFEXITED(status))
        return {WEXITSTATUS(status), {}};
    return {std::nullopt, QStringLiteral("%1 ended by signal %2").arg(program).arg(WTERMSIG(status))};
}

} // namespace

std::optional<int> RunProcessForStatus(const QString& program, const QStringList& arguments, int handOverMs,
                                       QString* error)
{
    const auto outcome =
        WaitInBackground<TProcessOutcome>([program, arguments, handOverMs](const std::atomic<bool>& abandoned) {
            return SpawnAndWait(program, arguments, handOverMs, abandoned);
        });
    if (!outcome) {
        if (error)
            *error = QStringLiteral("The program quit while waiting for %1").arg(program);
        return std::nullopt;
    }
    if (error)
        *error = outcome->Error;
    return outcome->Status;
}

bool IsProgramInstalled(const QString& program)
{
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo file(program);
        return file.isFile() && file.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}
