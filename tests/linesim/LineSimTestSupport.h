#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>

#include <functional>

namespace linesim_test {

// Generous: sanitizer builds on a shared machine start processes slowly.
inline constexpr int Deadline = 30000;

// Keeps the event loop turning until the condition holds or the deadline passes.
inline bool waitUntil(const std::function<bool()>& condition, int milliseconds = Deadline)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// ctest runs test programs side by side on one session bus, so each simulator gets a name of its own.
inline QString uniqueServiceName(const char* purpose)
{
    static int counter = 0;
    return QStringLiteral("com.orvixit.Softphone.test.%1.p%2n%3")
        .arg(QLatin1String(purpose))
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

} // namespace linesim_test
