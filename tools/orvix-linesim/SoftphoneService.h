// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "LineSimError.h"
#include "SoftphoneModel.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace SoftphoneBus {
inline constexpr const char* DefaultService = "com.orvixit.Softphone";
inline constexpr const char* LineManagerPath = "/com/orvixit/Softphone/LineManager";
inline constexpr const char* SimulatorPath = "/com/orvixit/Softphone/Simulator";
} // namespace SoftphoneBus

/**
 * @brief Base of the exported objects: turns a refused operation into the D-Bus error reply of the caller.
 */
class GuardedBusObject : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    // Whatever a caller sends, the service answers and keeps running.
    template <typename Operation>
    auto guarded(Operation&& operation) -> decltype(operation())
    {
        try {
            return operation();
        } catch (const SoftphoneError& e) {
            sendErrorReply(e.dbusErrorName(), e.message());
        } catch (const std::exception& e) {
            sendErrorReply(QDBusError::Failed, QString::fromLocal8Bit(e.what()));
        }
        return decltype(operation())();
    }

    // Call control: the caller's reply waits for the outcome, which may come after this returns.
    template <typename Operation>
    void replyWithOutcome(Operation&& operation)
    {
        setDelayedReply(true);
        const QDBusMessage call = message();
        QDBusConnection bus = connection();
        guarded([&] {
            operation([call, bus](const std::optional<SoftphoneError>& refusal) mutable {
                bus.send(refusal ? call.createErrorReply(refusal->dbusErrorName(), refusal->message())
                                 : call.createReply());
            });
        });
    }
};

/**
 * @brief The line manager interface of the softphone on the bus (com.orvixit.Softphone.LineManager).
 */
class LineManagerObject : public GuardedBusObject
{
    Q_OBJECT

public:
    LineManagerObject(LineManager& lineManager, QObject* parent);

    QVariantMap GetLine(int lineIndex);
    QString ConvertNumber(int style, const QString& number);
    QVariantMap GetNotificationCall();
    void PickupGroupNotificationCall(int lineIndex);
    void HookOff(int lineIndex);
    void HookOn(int lineIndex);
    void Dial(int lineIndex, const QString& digits);
    int MakeCall(int lineIndex, const QString& number);

signals:
    void LineMgrNotification(int eventMsg, int eventParam);

private:
    LineManager& m_lineManager;
};

/**
 * @brief The simulator's control interface (com.orvixit.Softphone.Simulator), what the command line calls.
 */
class SimulatorObject : public GuardedBusObject
{
    Q_OBJECT

public:
    SimulatorObject(SoftphoneModel& model, QObject* parent);

    int LineCount();
    void Incoming(int lineIndex, const QString& number, const QString& name, const QString& extension,
                  const QString& calledName, int internal);
    void Answer(int lineIndex);
    void Hangup(int lineIndex);
    void Outgoing(int lineIndex, const QString& number, const QString& extension);
    void RemoteAnswer(int lineIndex);
    void RemoteBusy(int lineIndex);
    void Hold(int lineIndex);
    void Retrieve(int lineIndex);
    void Transfer(int lineIndex, const QString& number, const QString& name);
    void GroupCall(const QString& number, const QString& name, const QString& calledName,
                   const QString& calledExtension, const QString& redirectedFromNumber,
                   const QString& redirectedFromName);
    void GroupCallEnd();
    void Quit();

signals:
    void quitRequested();

private:
    SoftphoneModel& m_model;
};

/**
 * @brief Puts a softphone on a bus: its objects and the service name, until stopped or destroyed.
 */
class ServiceHost : public QObject
{
    Q_OBJECT

public:
    // The simulator: the line manager and the control interface, both answered from the model.
    ServiceHost(SoftphoneModel& model, const QDBusConnection& connection,
                const QString& serviceName = QLatin1String(SoftphoneBus::DefaultService), QObject* parent = nullptr);
    // A softphone that only offers its line manager.
    ServiceHost(LineManager& lineManager, const QDBusConnection& connection, const QString& serviceName,
                QObject* parent = nullptr);
    ~ServiceHost() override;

    // Throws LineSimError when the bus is not there or the name is taken.
    void start();
    void stop();

signals:
    // A client called Quit; the reply is on its way.
    void quitRequested();

private:
    QDBusConnection m_connection;
    QString m_serviceName;
    LineManagerObject* m_lineManager;
    SimulatorObject* m_simulator = nullptr; // none when only the line manager is offered
    bool m_objectsRegistered = false;
    bool m_nameOwned = false;
};
