// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/CommandChannel.h"

#include "platform/ProcessStart.h"
#include "trace/Trace.h"

#include "command_interface.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

namespace {

// Runs the event loop until `done` is emitted by `sender` or the time is up.
template <typename Sender, typename Signal>
void WaitFor(const Sender* sender, Signal done, std::chrono::milliseconds limit)
{
    QEventLoop loop;
    QObject::connect(sender, done, &loop, &QEventLoop::quit);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

TCommandChannel::TCommandChannel(QString service, const QString& topic, Timeouts timeouts)
    : m_service(std::move(service))
    , m_objectPath(topic.startsWith(u'/') ? topic : QLatin1Char('/') + topic)
    , m_timeouts(timeouts)
{
    // "/" is the root object; any other path with a trailing "/" is no object path.
    if (m_objectPath.size() > 1 && m_objectPath.endsWith(u'/'))
        m_objectPath.chop(1);
}

TCommandChannel::Owner TCommandChannel::FindOwner() const
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return Owner::Impossible;
    const QDBusReply<bool> registered = bus->isServiceRegistered(m_service);
    if (!registered.isValid())
        return Owner::Impossible;
    return registered.value() ? Owner::Present : Owner::Absent;
}

bool TCommandChannel::WaitForOwner() const
{
    QDBusServiceWatcher watcher(m_service, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForRegistration);
    // The name may have appeared between the start and the watcher.
    if (FindOwner() == Owner::Present)
        return true;
    WaitFor(&watcher, &QDBusServiceWatcher::serviceRegistered, m_timeouts.start);
    return FindOwner() == Owner::Present;
}

bool TCommandChannel::Link()
{
    m_linkError.clear();
    if (m_service.isEmpty()) {
        m_linkError = QStringLiteral("no service named");
        return false;
    }
    switch (FindOwner()) {
    case Owner::Present:
        return true;
    case Owner::Impossible:
        m_linkError = QStringLiteral("\"%1\" is no D-Bus name").arg(m_service);
        return false;
    case Owner::Absent:
        break;
    }
    // The program comes from rules-file text, which may have been imported:
    // the trace shows what was started before it runs.
    Trace::Value("ActionDDEMessage::ExecuteAction:Starting service program",
                 m_service + QLatin1Char(' ') + m_objectPath);
    QString startError;
    if (!StartDetachedProcess(m_service, {m_objectPath}, &startError)) {
        m_linkError = QStringLiteral("%1 has no owner and no program of that name could be started: %2")
                          .arg(m_service, startError);
        return false;
    }
    if (!WaitForOwner()) {
        m_linkError = QStringLiteral("%1 was started but did not appear on the session bus within %2 ms")
                          .arg(m_service)
                          .arg(m_timeouts.start.count());
        return false;
    }
    return true;
}

bool TCommandChannel::Send(const QString& message)
{
    m_sendError.clear();
    DeKestrunCommandInterface receiver(m_service, m_objectPath, QDBusConnection::sessionBus());
    receiver.setTimeout(int(m_timeouts.answer.count()));
    QDBusPendingCallWatcher answer(receiver.Execute(message));
    // The bus ends the call with a NoReply error once the answer time is over;
    // the extra second only guards against a bus that does not.
    if (!answer.isFinished())
        WaitFor(&answer, &QDBusPendingCallWatcher::finished, m_timeouts.answer + std::chrono::seconds(1));
    if (!answer.isFinished()) {
        m_sendError = QStringLiteral("no answer");
        return false;
    }
    if (answer.isError()) {
        m_sendError = answer.error().name() + QStringLiteral(": ") + answer.error().message();
        return false;
    }
    return true;
}
