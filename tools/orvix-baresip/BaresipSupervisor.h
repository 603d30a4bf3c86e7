// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <functional>

class BaresipControl;

/**
 * @brief Runs the bridge's own baresip and keeps the control connection to it.
 *
 * The bridge only ever talks to the baresip it started: before a connection
 * is used, the listening socket it reached must belong to that process
 * (anything else on the port is refused and the baresip restarted on another
 * port). baresip serves one control client at a time and drops the older one
 * when another local client connects; the supervisor then connects again at
 * once (reattached), the calls go on. Only when baresip itself ends do the
 * lines go idle (lost); it is started again after a back-off that doubles from
 * RetryStartMs up to RetryMaxMs and starts over once a baresip ran StableMs.
 */
class BaresipSupervisor : public QObject
{
    Q_OBJECT

public:
    static constexpr int RetryStartMs = 250;
    static constexpr int RetryMaxMs = 30000;
    static constexpr int StableMs = 10000;
    // How often to try the control port while baresip comes up, and how long it may take.
    static constexpr int ConnectPollMs = 100;
    static constexpr int StartTimeoutMs = 15000;

    // Writes baresip's configuration for the control port before each start; throws BridgeError.
    using Prepare = std::function<void(quint16 ctrlPort)>;

    // ctrlPort 0: a free port of 127.0.0.1, chosen anew at each start. program: the baresip to start;
    // folder: its configuration folder (-f).
    BaresipSupervisor(BaresipControl& control, quint16 ctrlPort, QString program, QString folder, Prepare prepare,
                      QObject* parent = nullptr);
    ~BaresipSupervisor() override;

    void start();
    void stop();

signals:
    // Connected to a baresip just started: it has no calls yet.
    void attached();
    // Connected again to the same baresip after the connection was taken: its calls went on meanwhile.
    void reattached();
    // baresip ended, and its calls with it.
    void lost();
    void status(const QString& message);

private:
    void startBaresip();
    void attempt();
    void onConnected();
    void onClosed();
    void onFinished(const QString& why);
    void restartAfterBackOff();
    // Ends baresip without waiting; onFinished follows.
    void endBaresip();

    BaresipControl& m_control;
    quint16 m_fixedPort;
    quint16 m_port = 0;
    QString m_program;
    QString m_folder;
    Prepare m_prepare;
    QProcess m_process;
    QTimer m_connectPoll;
    QTimer m_restart;
    QElapsedTimer m_runningFor;
    int m_failures = 0;
    bool m_connected = false;
    bool m_attachedOnce = false; // to the baresip running now
    bool m_stopping = false;
    bool m_ending = false; // the baresip running now was told to end
};
