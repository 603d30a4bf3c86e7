#include "telephony/DBusLineManagerService.h"

#include "telephony/LineManagerError.h"

#include "softphone_linemanager_interface.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

const QString DBusLineManagerService::ServiceName = QStringLiteral("com.orvixit.Softphone");
const QString DBusLineManagerService::ObjectPath = QStringLiteral("/com/orvixit/Softphone/LineManager");

namespace {

template <typename Reply>
auto Checked(Reply reply)
{
    reply.waitForFinished();
    if (reply.isError()) {
        const QDBusError error = reply.error();
        throw ELineManagerError(error.name(), error.message());
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
}

DBusLineManagerService::~DBusLineManagerService() = default;

bool DBusLineManagerService::IsAvailable() const
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(m_serviceName).value();
}

QVariantMap DBusLineManagerService::GetLine(int lineIndex)
{
    return Checked(m_proxy->GetLine(lineIndex));
}

QString DBusLineManagerService::ConvertNumber(int style, const QString& number)
{
    return Checked(m_proxy->ConvertNumber(style, number));
}

QVariantMap DBusLineManagerService::GetNotificationCall()
{
    return Checked(m_proxy->GetNotificationCall());
}

void DBusLineManagerService::PickupGroupNotificationCall(int lineIndex)
{
    Checked(m_proxy->PickupGroupNotificationCall(lineIndex));
}

void DBusLineManagerService::HookOff(int lineIndex)
{
    Checked(m_proxy->HookOff(lineIndex));
}

void DBusLineManagerService::HookOn(int lineIndex)
{
    Checked(m_proxy->HookOn(lineIndex));
}

void DBusLineManagerService::Dial(int lineIndex, const QString& digits)
{
    Checked(m_proxy->Dial(lineIndex, digits));
}
