#include "platform/ProcessStart.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <sys/syscall.h>
#include <unistd.h>

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

bool IsProgramInstalled(const QString& program)
{
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo file(program);
        return file.isFile() && file.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}
