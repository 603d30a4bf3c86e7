// SPDX-License-Identifier: GPL-3.0-or-later

#include "SoftphoneService.h"

#include "linemanager_adaptor.h"
#include "simulator_adaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

LineManagerObject::LineManagerObject(LineManager& lineManager, QObject* parent)
    : GuardedBusObject(parent)
    , m_lineManager(lineManager)
{
    new LineManagerAdaptor(this);
    QObject::connect(&lineManager, &LineManager::LineMgrNotification, this, &LineManagerObject::LineMgrNotification);
}

QVariantMap LineManagerObject::GetLine(int lineIndex)
{
    return guarded([&] { return m_lineManager.GetLine(lineIndex); });
}

QString LineManagerObject::ConvertNumber(int style, const QString& number)
{
    return guarded([&] { return m_lineManager.ConvertNumber(style, number); });
}

QVariantMap LineManagerObject::GetNotificationCall()
{
    return guarded([&] { return m_lineManager.GetNotificationCall(); });
}

void LineManagerObject::PickupGroupNotificationCall(int lineIndex)
{
    guarded([&] { m_lineManager.PickupGroupNotificationCall(lineIndex); });
}

void LineManagerObject::HookOff(int lineIndex)
{
    replyWithOutcome([&](const LineManager::Outcome& outcome) { m_lineManager.requestHookOff(lineIndex, outcome); });
}

void LineManagerObject::HookOn(int lineIndex)
{
    replyWithOutcome([&](const LineManager::Outcome& outcome) { m_lineManager.requestHookOn(lineIndex, outcome); });
}

void LineManagerObject::Dial(int lineIndex, const QString& digits)
{
    replyWithOutcome(
        [&](const LineManager::Outcome& outcome) { m_lineManager.requestDial(lineIndex, digits, outcome); });
}

int LineManagerObject::MakeCall(int lineIndex, const QString& number)
{
    return guarded([&] { return m_lineManager.MakeCall(lineIndex, number); });
}

SimulatorObject::SimulatorObject(SoftphoneModel& model, QObject* parent)
    : GuardedBusObject(parent)
    , m_model(model)
{
    new SimulatorAdaptor(this);
}

int SimulatorObject::LineCount()
{
    return m_model.lineCount();
}

void SimulatorObject::Incoming(int lineIndex, const QString& number, const QString& name, const QString& extension,
                               const QString& calledName, int internal)
{
    guarded([&] { m_model.incoming(lineIndex, {number, name, extension, calledName, internal}); });
}

void SimulatorObject::Answer(int lineIndex)
{
    guarded([&] { m_model.answer(lineIndex); });
}

void SimulatorObject::Hangup(int lineIndex)
{
    guarded([&] { m_model.hangup(lineIndex); });
}

void SimulatorObject::Outgoing(int lineIndex, const QString& number, const QString& extension)
{
    guarded([&] { m_model.outgoing(lineIndex, number, extension); });
}

void SimulatorObject::RemoteAnswer(int lineIndex)
{
    guarded([&] { m_model.remoteAnswer(lineIndex); });
}

void SimulatorObject::RemoteBusy(int lineIndex)
{
    guarded([&] { m_model.remoteBusy(lineIndex); });
}

void SimulatorObject::Hold(int lineIndex)
{
    guarded([&] { m_model.hold(lineIndex); });
}

void SimulatorObject::Retrieve(int lineIndex)
{
    guarded([&] { m_model.retrieve(lineIndex); });
}

void SimulatorObject::Transfer(int lineIndex, const QString& number, const QString& name)
{
    guarded([&] { m_model.transfer(lineIndex, number, name); });
}

void SimulatorObject::GroupCall(const QString& number, const QString& name, const QString& calledName,
                                const QString& calledExtension, const QString& redirectedFromNumber,
                                const QString& redirectedFromName)
{
    guarded([&] {
        m_model.groupCall({number, name, calledName, calledExtension, redirectedFromNumber, redirectedFromName});
    });
}

void SimulatorObject::GroupCallEnd()
{
    guarded([&] { m_model.groupCallEnd(); });
}

void SimulatorObject::Quit()
{
    emit quitRequested();
}

ServiceHost::ServiceHost(SoftphoneModel& model, const QDBusConnection& connection, const QString& serviceName,
                         QObject* parent)
    : ServiceHost(static_cast<LineManager&>(model), connection, serviceName, parent)
{
    m_simulator = new SimulatorObject(model, this);
    connect(m_simulator, &SimulatorObject::quitRequested, this, &ServiceHost::quitRequested);
}

ServiceHost::ServiceHost(LineManager& lineManager, const QDBusConnection& connection, const QString& serviceName,
                         QObject* parent)
    : QObject(parent)
    , m_connection(connection)
    , m_serviceName(serviceName)
    , m_lineManager(new LineManagerObject(lineManager, this))
{
}

ServiceHost::~ServiceHost()
{
    stop();
}

void ServiceHost::start()
{
    if (!m_connection.isConnected()) {
        throw LineSimError(
            QStringLiteral("not connected to the D-Bus session bus: %1").arg(m_connection.lastError().message()));
    }
    if (!m_objectsRegistered) {
        // The objects come first, so that a client that sees the name can call at once.
        const QString taken = QStringLiteral("cannot export %1: this connection already has an object there");
        if (!m_connection.registerObject(QLatin1String(SoftphoneBus::LineManagerPath), m_lineManager))
            throw LineSimError(taken.arg(QLatin1String(SoftphoneBus::LineManagerPath)));
        if (m_simulator && !m_connection.registerObject(QLatin1String(SoftphoneBus::SimulatorPath), m_simulator)) {
            m_connection.unregisterObject(QLatin1String(SoftphoneBus::LineManagerPath));
            throw LineSimError(taken.arg(QLatin1String(SoftphoneBus::SimulatorPath)));
        }
        m_objectsRegistered = true;
    }
    if (m_nameOwned)
        return;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_connection.interface()->registerService(
        m_serviceName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        throw LineSimError(
            QStringLiteral("cannot own the bus name %1: %2").arg(m_serviceName, reply.error().message()));
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        throw LineSimError(QStringLiteral("the bus name %1 is already taken: a simulator or the softphone is running")
                               .arg(m_serviceName));
    }
    m_nameOwned = true;
}

void ServiceHost::stop()
{
    // Releasing the name is a round trip to the bus, so replies queued before it (Quit's) have gone out when it
    // returns.
    if (m_nameOwned)
        m_connection.interface()->unregisterService(m_serviceName);
    m_nameOwned = false;
    if (m_objectsRegistered) {
        if (m_simulator)
            m_connection.unregisterObject(QLatin1String(SoftphoneBus::SimulatorPath));
        m_connection.unregisterObject(QLatin1String(SoftphoneBus::LineManagerPath));
    }
    m_objectsRegistered = false;
}
