// SPDX-License-Identifier: GPL-3.0-or-later

#include "SimulatorClient.h"

#include "LineSimError.h"
#include "SoftphoneService.h"
#include "linemanager_proxy.h"
#include "simulator_proxy.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDeadlineTimer>
#include <QTextStream>
#include <QThread>

namespace {

QString formatValue(const QVariant& value)
{
    // An array inside a variant can arrive still marshalled; the only one GetLine has is a string list.
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return qdbus_cast<QStringList>(value).join(u' ');
    if (value.metaType() == QMetaType::fromType<QStringList>())
        return value.toStringList().join(u' ');
    if (value.metaType() == QMetaType::fromType<double>()) {
        const double number = value.toDouble();
        return number == 0 ? QStringLiteral("0") : QString::number(number, 'f', 8);
    }
    return value.toString();
}

} // namespace

SimulatorClient::SimulatorClient(const QDBusConnection& connection, const QString& serviceName)
    : m_connection(connection)
    , m_serviceName(serviceName)
    , m_lineManager(
          std::make_unique<LineManagerProxy>(serviceName, QLatin1String(SoftphoneBus::LineManagerPath), connection))
    , m_simulator(std::make_unique<SimulatorProxy>(serviceName, QLatin1String(SoftphoneBus::SimulatorPath), connection))
{
}

SimulatorClient::~SimulatorClient() = default;

void SimulatorClient::run(const ParsedCommand& command, QTextStream& out)
{
    if (!m_connection.isConnected())
        fail(m_connection.lastError());
    const QString& name = command.name;
    const int line = command.intValue(QStringLiteral("--line"), -1);
    const auto option = [&](const char* key) { return command.value(QLatin1String(key)); };

    if (name == QLatin1String("incoming")) {
        const int internal = command.has(QStringLiteral("--internal")) ? 1
            : command.has(QStringLiteral("--external"))                ? 0
                                                                       : -1;
        wait(m_simulator->Incoming(line, option("--number"), option("--name"), option("--extension"),
                                   option("--called-name"), internal));
    } else if (name == QLatin1String("answer")) {
        wait(m_simulator->Answer(line));
    } else if (name == QLatin1String("hangup")) {
        wait(m_simulator->Hangup(line));
    } else if (name == QLatin1String("outgoing")) {
        wait(m_simulator->Outgoing(line, option("--number"), option("--extension")));
    } else if (name == QLatin1String("call")) {
        out << "line " << wait(m_lineManager->MakeCall(line, option("--number"))).value() << Qt::endl;
    } else if (name == QLatin1String("remote-answer")) {
        wait(m_simulator->RemoteAnswer(line));
    } else if (name == QLatin1String("remote-busy")) {
        wait(m_simulator->RemoteBusy(line));
    } else if (name == QLatin1String("hold")) {
        wait(m_simulator->Hold(line));
    } else if (name == QLatin1String("retrieve")) {
        wait(m_simulator->Retrieve(line));
    } else if (name == QLatin1String("transfer")) {
        wait(m_simulator->Transfer(line, option("--number"), option("--name")));
    } else if (name == QLatin1String("dial")) {
        wait(m_lineManager->Dial(line, option("--digits")));
    } else if (name == QLatin1String("group-call")) {
        wait(m_simulator->GroupCall(option("--number"), option("--name"), option("--called-name"),
                                    option("--called-extension"), option("--redirected-from-number"),
                                    option("--redirected-from-name")));
    } else if (name == QLatin1String("group-call-end")) {
        wait(m_simulator->GroupCallEnd());
    } else if (name == QLatin1String("pickup")) {
        wait(m_lineManager->PickupGroupNotificationCall(line));
    } else if (name == QLatin1String("state")) {
        const QVariantMap properties = wait(m_lineManager->GetLine(line)).value();
        for (auto it = properties.cbegin(); it != properties.cend(); ++it)
            out << it.key() << ": " << formatValue(it.value()) << '\n';
        out.flush();
    } else if (name == QLatin1String("play")) {
        CommandLine::playScenario(
            command.arguments.first(), [&](const ParsedCommand& step) { run(step, out); },
            [](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); });
    } else if (name == QLatin1String("quit")) {
        quit();
    } else {
        throw UsageError(QStringLiteral("'%1' cannot be sent to a running simulator").arg(name));
    }
}

template <typename Reply>
Reply SimulatorClient::wait(Reply reply) const
{
    reply.waitForFinished();
    if (reply.isError())
        fail(reply.error());
    return reply;
}

void SimulatorClient::fail(const QDBusError& error) const
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        throw LineSimError(
            QStringLiteral("no simulator is running as %1 on the session bus (start one with '%2 serve')")
                .arg(m_serviceName, QLatin1String(CommandLine::Program)));
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        throw LineSimError(QStringLiteral("%1 on the session bus is not an orvix-linesim simulator: %2")
                               .arg(m_serviceName, error.message()));
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        throw LineSimError(QStringLiteral("the simulator did not answer: %1").arg(error.message()));
    case QDBusError::Disconnected:
        throw LineSimError(QStringLiteral("not connected to the D-Bus session bus: %1").arg(error.message()));
    default:
        throw LineSimError(error.message().isEmpty() ? error.name() : error.message());
    }
}

void SimulatorClient::quit()
{
    wait(m_simulator->Quit());
    // Return only when the name is free, so that a script can start the next simulator right away.
    QDeadlineTimer deadline(10000);
    while (m_connection.interface()->isServiceRegistered(m_serviceName).value()) {
        if (deadline.hasExpired())
            throw LineSimError(QStringLiteral("the simulator %1 did not stop within 10 s").arg(m_serviceName));
        QThread::msleep(20);
    }
}
