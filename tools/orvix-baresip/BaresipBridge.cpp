// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipBridge.h"

#include "BaresipConfig.h"
#include "LineSimError.h"

#include <QStandardPaths>

namespace {

std::unique_ptr<SoftphoneModel> makeModel(const BridgeOptions& options)
{
    try {
        auto model =
            std::make_unique<SoftphoneModel>(options.lines, NumberConverter(options.countryCode, options.areaCode));
        model->setTerminatedHoldMs(options.terminatedMs);
        return model;
    } catch (const SoftphoneError& error) {
        throw UsageError(error.message());
    }
}

QString configFolder(const BridgeOptions& options)
{
    if (!options.folder.isEmpty())
        return options.folder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1String("/orvix-baresip");
}

} // namespace

BaresipBridge::BaresipBridge(const BridgeOptions& options, QObject* parent)
    : QObject(parent)
    , m_model(makeModel(options))
    , m_calls(options.lines)
{
    BaresipConfig config {.sipListen = options.sipListen,
                          .account = options.account,
                          .password = options.password,
                          .ctrlPort = options.ctrlPort,
                          .maxCalls = options.lines,
                          .audio = options.audio,
                          .modulePath = BaresipConfig::findModulePath()};
    const QString folder = configFolder(options);
    // Written once here, so that a folder that cannot be used stops the bridge at once; again before
    // each start of baresip, with the control port of that start.
    config.write(folder);

    m_mapper = std::make_unique<BaresipEventMapper>(*m_model, m_calls, config.accountAddress());
    m_lineManager = std::make_unique<BaresipLineManager>(*m_model, m_calls, m_control);
    m_supervisor = std::make_unique<BaresipSupervisor>(m_control, options.ctrlPort, options.baresip, folder,
                                                       [config, folder](quint16 ctrlPort) mutable {
                                                           config.ctrlPort = ctrlPort;
                                                           config.write(folder);
                                                       });

    connect(&m_control, &BaresipControl::eventReceived, m_mapper.get(), &BaresipEventMapper::apply);
    connect(m_supervisor.get(), &BaresipSupervisor::lost, m_mapper.get(), &BaresipEventMapper::dropAllCalls);
    // Events of the time without a connection are lost: baresip tells which calls it has now.
    connect(m_supervisor.get(), &BaresipSupervisor::reattached, &m_callSync, &BaresipCallSync::run);
    connect(&m_callSync, &BaresipCallSync::callsFound, m_mapper.get(), &BaresipEventMapper::reconcile);
    connect(&m_callSync, &BaresipCallSync::failed, this, [this](const QString& reason) {
        emit report(QStringLiteral("cannot ask baresip for its calls: ") + reason);
    });
    // More calls than lines: baresip turns the surplus one away ("486 Busy Here").
    connect(m_mapper.get(), &BaresipEventMapper::surplusCall, this, [this](const QString& callId) {
        emit report(QStringLiteral("call %1: every line is busy, turned away").arg(callId));
        m_control.sendOnCall(callId, QStringLiteral("hangup"));
    });
    connect(m_mapper.get(), &BaresipEventMapper::eventIgnored, this,
            [this](const QString& reason) { emit report(QStringLiteral("event ignored: ") + reason); });
    connect(&m_control, &BaresipControl::frameRejected, this,
            [this](const QString& reason) { emit report(QStringLiteral("frame skipped: ") + reason); });
    connect(&m_control, &BaresipControl::commandFailed, this, [this](const QString& command, const QString& reason) {
        emit report(QStringLiteral("command %1 failed: %2").arg(command, reason));
    });
    connect(m_supervisor.get(), &BaresipSupervisor::status, this, &BaresipBridge::report);
}
