// SPDX-License-Identifier: GPL-3.0-or-later

#include "BaresipBridge.h"
#include "BaresipConfig.h"
#include "BridgeError.h"
#include "BridgeOptions.h"
#include "BridgeQuitObject.h"
#include "LineSimError.h"
#include "Printable.h"
#include "SipPassword.h"
#include "SoftphoneModel.h"
#include "SoftphoneService.h"
#include "platform/SecretStore.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTextStream>

namespace {

QString accountAddress(const BridgeOptions& options)
{
    BaresipConfig config;
    config.account = options.account;
    return config.accountAddress();
}

// Standard input, or what is kept for the account; before the bridge serves, so nothing waits meanwhile.
QString sipPassword(const BridgeOptions& options)
{
    const QString account = accountAddress(options);
    const QString password =
        options.passwordFromInput ? SipPassword::readFromInput(account) : SipPassword::lookup(TSecretStore(), account);
    SipPassword::check(password);
    return password;
}

int setPassword(const BridgeOptions& options, QTextStream& out)
{
    const QString account = accountAddress(options);
    const QString password = SipPassword::readFromInput(account);
    SipPassword::check(password);
    TSecretStore store;
    out << BridgeOptions::Program << ": the SIP password of " << account << " is kept "
        << SipPassword::store(store, account, password) << Qt::endl;
    return 0;
}

int serve(QCoreApplication& app, BridgeOptions options, QTextStream& out)
{
    options.password = sipPassword(options);
    BaresipBridge bridge(options);
    QDBusConnection bus = QDBusConnection::sessionBus();
    ServiceHost host(bridge.lineManager(), bus, options.service);
    host.start();
    BridgeQuitObject quitObject;
    if (!bus.registerObject(QLatin1String(BridgeBus::Path), &quitObject, QDBusConnection::ExportScriptableSlots))
        throw BridgeError(QStringLiteral("cannot export %1 on the session bus").arg(QLatin1String(BridgeBus::Path)));
    QObject::connect(&quitObject, &BridgeQuitObject::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&bridge.model(), &LineManager::LineMgrNotification, &app, [&out](int eventMsg, int eventParam) {
        out << SoftphoneModel::describeNotification(eventMsg, eventParam) << Qt::endl;
    });
    QObject::connect(&bridge, &BaresipBridge::report, &app, [&out](const QString& message) {
        out << BridgeOptions::Program << ": " << printable(message) << Qt::endl;
    });
    // The event loop ends normally, so that baresip is stopped and the bus name released like after "quit".
    OnTerminationSignal([&app] { app.quit(); });

    out << BridgeOptions::Program << ": " << options.lines << " lines on the session bus as " << options.service
        << ", account " << options.account << ", SIP on " << options.sipListen << "; stop with '"
        << BridgeOptions::Program << " quit'" << Qt::endl;
    bridge.start();
    app.exec();
    bridge.stop();
    bus.unregisterObject(QLatin1String(BridgeBus::Path));
    host.stop();
    out << BridgeOptions::Program << ": stopped" << Qt::endl;
    return 0;
}

int quit(const BridgeOptions& options)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        options.service, QLatin1String(BridgeBus::Path), QLatin1String(BridgeBus::Interface), QStringLiteral("Quit"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        throw BridgeError(QStringLiteral("no bridge answers as %1: %2").arg(options.service, reply.errorMessage()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(BridgeOptions::Program));
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        const BridgeOptions options = BridgeOptions::parse(app.arguments().mid(1));
        if (options.command == QLatin1String("help")) {
            out << BridgeOptions::helpText();
            return 0;
        }
        if (options.command == QLatin1String("set-password"))
            return setPassword(options, out);
        return options.command == QLatin1String("serve") ? serve(app, options, out) : quit(options);
    } catch (const UsageError& e) {
        err << BridgeOptions::Program << ": " << e.message() << Qt::endl;
        return 2;
    } catch (const std::exception& e) {
        err << BridgeOptions::Program << ": " << e.what() << Qt::endl;
        return 1;
    }
}
