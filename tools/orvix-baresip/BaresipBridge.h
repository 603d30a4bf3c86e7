// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BaresipCallSync.h"
#include "BaresipControl.h"
#include "BaresipEventMapper.h"
#include "BaresipLineManager.h"
#include "BaresipSupervisor.h"
#include "BridgeOptions.h"
#include "LineCalls.h"
#include "SoftphoneModel.h"

#include <QObject>

#include <memory>

/**
 * @brief The bridge's parts put together: baresip's events run into the line model, its line manager drives baresip.
 */
class BaresipBridge : public QObject
{
    Q_OBJECT

public:
    // Throws UsageError for options the line model refuses, BridgeError when the configuration cannot be written.
    explicit BaresipBridge(const BridgeOptions& options, QObject* parent = nullptr);

    void start() { m_supervisor->start(); }
    void stop() { m_supervisor->stop(); }

    SoftphoneModel& model() { return *m_model; }
    BaresipLineManager& lineManager() { return *m_lineManager; }
    BaresipControl& control() { return m_control; }

signals:
    // What the bridge has to say to its user: attach, loss, skipped frames, refused commands.
    void report(const QString& message);

private:
    std::unique_ptr<SoftphoneModel> m_model;
    LineCalls m_calls;
    BaresipControl m_control;
    BaresipCallSync m_callSync {m_control};
    // After the control: they use it up to their end.
    std::unique_ptr<BaresipEventMapper> m_mapper;
    std::unique_ptr<BaresipLineManager> m_lineManager;
    std::unique_ptr<BaresipSupervisor> m_supervisor;
};
