// SPDX-License-Identifier: GPL-3.0-or-later

#include "telephony/DBusLineManagerService.h"

#include "telephony/LineManagerError.h"
#include "trace/Trace.h"

#include "softphone_linemanager_interface.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

const QString DBusLineManagerService::ServiceName = QStringLiteral("com.orvixit.Softphone");
const QString DBusLineManagerService::ObjectPath = QStringLiteral("/com/orvixit/Softphone/LineManager");

namespace {

// Qt's default of 25 s would freeze the program behind a hung softphone, once for each of the
// several calls a notification makes; the softphone answers a working call in milliseconds.
constexpr int CallTimeoutMs = 2000;

template <typename Reply>
auto Checked(const char* call, Reply reply)
{
    reply.waitForFinished();
    if (reply.isError()) {
        const QDBusError error = reply.error();
        if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout) {
            Trace::Error("DBusLineManagerService::Call:No answer from the softphone",
                         QStringLiteral("%1, after %2 ms").arg(QLatin1StringView(call)).arg(CallTimeoutMs));
            throw ELineManagerError(error.name(),
                                    QStringLiteral("%1: no answer from the softphone within %2 ms")
                                        .arg(QLatin1StringView(call))
                                        .arg(CallTimeoutMs));
        }
        throw ELineManagerError(error.name(), QLatin1StringView(call) + QStringLiteral(": ") + error.message());
    }
    if constexpr (!std::is_same_v<Reply, QDBusPendingReply<>>)
        return reply.value();
}

} // namespace

DBusLineManagerService::DBusLineManagerService(const QString& serviceName)
    : m_serviceName(serviceName)
    , m_proxy(std::make_unique<ComOrvixitSoftphoneLineManagerInterface>(serviceName, ObjectPath,
                                                                        QDBusConnection::sessionBus()))
    , m_watcher(std::make_unique<QDBusServiceWatcher>(serviceName, QDBusConnection::sessionBus(),
                                                      QDBusServiceWatcher::WatchForRegistration |
                                                          QDBusServiceWatcher::WatchForUnregistration))
{
    connect(m_proxy.get(), &ComOrvixitSoftphoneLineManagerInterface::LineMgrNotification, this,
            &LineManagerService::LineMgrNotification);
    connect(m_watcher.get(), &QDBusServiceWatcher::serviceRegistered, this, [this] { emit AvailabilityChanged(true); });
    connect(m_watcher.get(), &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { emit AvailabilityChanged(false); });
    m_proxy->setTimeout(CallTimeoutMs);
}

DBusLineManagerService::~DBusLineManagerService() = default;

bool DBusLineManagerService::IsAvailable() const
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(m_serviceName).value();
}

QVariantMap DBusLineManagerService::GetLine(int lineIndex)
{
    return Checked("GetLine", m_proxy->GetLine(lineIndex));
}

QString DBusLineManagerService::ConvertNumber(int style, const QString& number)
{
    return Checked("ConvertNumber", m_proxy->ConvertNumber(style, number));
}

QVariantMap DBusLineManagerService::GetNotificationCall()
{
    return Checked("GetNotificationCall", m_proxy->GetNotificationCall());
}

void DBusLineManagerService::PickupGroupNotificationCall(int lineIndex)
{
    Checked("PickupGroupNotificationCall", m_proxy->PickupGroupNotificationCall(lineIndex));
}

void DBusLineManagerService::HookOff(int lineIndex)
{
    Checked("HookOff", m_proxy->HookOff(lineIndex));
}

void DBusLineManagerService::HookOn(int lineIndex)
{
    Checked("HookOn", m_proxy->HookOn(lineIndex));
}

void DBusLineManagerService::Dial(int lineIndex, const QString& digits)
{
    Checked("Dial", m_proxy->Dial(lineIndex, digits));
}

int DBusLineManagerService::MakeCall(int lineIndex, const QString& number)
{
    return Checked("MakeCall", m_proxy->MakeCall(lineIndex, number));
}
