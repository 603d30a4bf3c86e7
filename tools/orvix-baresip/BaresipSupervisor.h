#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

class BaresipControl;

/**
 * @brief Keeps a baresip on the control port: attaches to one that answers, else starts its own, and retries.
 *
 * When the connection is lost (baresip died or was stopped) the bridge's lines
 * go idle (lost) and a new attempt follows after a back-off that doubles from
 * RetryStartMs up to RetryMaxMs; a connection that lasted StableMs starts the
 * back-off anew. Our own baresip is ended with the supervisor.
 */
class BaresipSupervisor : public QObject
{
    Q_OBJECT

public:
    static constexpr int RetryStartMs = 250;
    static constexpr int RetryMaxMs = 30000;
    static constexpr int StableMs = 10000;

    // program: the baresip to start; folder: its configuration folder (-f).
    BaresipSupervisor(BaresipControl& control, quint16 ctrlPort, QString program, QString folder,
                      QObject* parent = nullptr);
    ~BaresipSupervisor() override;

    void start();
    void stop();
    bool ownsBaresip() const { return m_process.state() != QProcess::NotRunning; }

signals:
    void attached();
    void lost();
    void status(const QString& message);

private:
    void attempt();
    void onConnected();
    void onClosed();
    void startOwnBaresip();
    void scheduleRetry();

    BaresipControl& m_control;
    quint16 m_ctrlPort;
    QString m_program;
    QString m_folder;
    QProcess m_process;
    QTimer m_retry;
    QElapsedTimer m_connectedFor;
    int m_failures = 0;
    bool m_connected = false;
    bool m_stopping = false;
};
