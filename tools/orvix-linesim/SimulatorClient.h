// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "CommandLine.h"

#include <QDBusConnection>
#include <QString>

#include <memory>

class QDBusError;
class QTextStream;
class LineManagerProxy;
class SimulatorProxy;

/**
 * @brief Carries out orvix-linesim's control commands against a running simulator on the bus.
 */
class SimulatorClient
{
public:
    SimulatorClient(const QDBusConnection& connection, const QString& serviceName);
    ~SimulatorClient();

    // "state" and "call" write to out. Throws LineSimError with the simulator's refusal or why it could not be reached.
    void run(const ParsedCommand& command, QTextStream& out);

private:
    template <typename Reply>
    Reply wait(Reply reply) const;
    [[noreturn]] void fail(const QDBusError& error) const;
    void quit();

    QDBusConnection m_connection;
    QString m_serviceName;
    std::unique_ptr<LineManagerProxy> m_lineManager;
    std::unique_ptr<SimulatorProxy> m_simulator;
};
