// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"
#include "LineSimError.h"
#include "NumberConverter.h"
#include "SimulatorClient.h"
#include "SoftphoneModel.h"
#include "SoftphoneService.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTextStream>

#include <cstdio>

namespace {

int serve(QCoreApplication& app, const ParsedCommand& command, const QString& serviceName, QTextStream& out)
{
    std::unique_ptr<SoftphoneModel> model;
    try {
        NumberConverter converter(command.value(QStringLiteral("--country-code"), QStringLiteral("49")),
                                  command.value(QStringLiteral("--area-code"), QStringLiteral("30")),
                                  command.intValue(QStringLiteral("--extension-length"), 4));
        model = std::make_unique<SoftphoneModel>(command.intValue(QStringLiteral("--lines"), 4), converter);
        model->setTerminatedHoldMs(command.intValue(QStringLiteral("--terminated-ms"), 1000));
    } catch (const SoftphoneError& e) {
        throw UsageError(e.message());
    }

    ServiceHost host(*model, QDBusConnection::sessionBus(), serviceName);
    host.start();
    QObject::connect(&host, &ServiceHost::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(model.get(), &SoftphoneModel::LineMgrNotification, &app, [&out](int eventMsg, int eventParam) {
        out << SoftphoneModel::describeNotification(eventMsg, eventParam) << Qt::endl;
    });
    // The event loop ends normally, so that the bus name is released like after "quit".
    OnTerminationSignal([&app] { app.quit(); });

    const NumberConverter& converter = model->converter();
    out << CommandLine::Program << ": " << model->lineCount() << " lines on the session bus as " << serviceName
        << " (country code " << converter.countryCode() << ", area code " << converter.areaCode()
        << ", extensions up to " << converter.maxExtensionLength() << " digits); stop with '" << CommandLine::Program
        << " quit'" << Qt::endl;
    app.exec();
    host.stop();
    out << CommandLine::Program << ": stopped" << Qt::endl;
    return 0;
}

int run(QCoreApplication& app, QTextStream& out)
{
    QStringList words = app.arguments().mid(1);
    // "orvix-linesim incoming --help" is a request for help, not an unknown option.
    if (words.contains(QStringLiteral("--help")) || words.contains(QStringLiteral("-h"))) {
        out << CommandLine::helpText();
        return 0;
    }
    QString serviceName = QLatin1String(SoftphoneBus::DefaultService);
    while (!words.isEmpty() && words.first().startsWith(QLatin1String("--"))) {
        const QString option = words.takeFirst();
        if (option == QLatin1String("--service")) {
            if (words.isEmpty() || words.first().startsWith(QLatin1String("--")))
                throw UsageError(QStringLiteral("option --service needs a value (NAME)"));
            serviceName = words.takeFirst();
        } else if (option.startsWith(QLatin1String("--service="))) {
            serviceName = option.mid(10);
        } else {
            throw UsageError(
                QStringLiteral("unknown option %1 (see %2 --help)").arg(option, QLatin1String(CommandLine::Program)));
        }
    }

    const ParsedCommand command = CommandLine::parse(words);
    if (command.name == QLatin1String("serve"))
        return serve(app, command, serviceName, out);
    if (command.name == QLatin1String("sleep"))
        throw UsageError(QStringLiteral("'sleep' is only for scenario files"));
    SimulatorClient(QDBusConnection::sessionBus(), serviceName).run(command, out);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(CommandLine::Program));
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        return run(app, out);
    } catch (const UsageError& e) {
        err << CommandLine::Program << ": " << e.message() << Qt::endl;
        return 2;
    } catch (const LineSimError& e) {
        err << CommandLine::Program << ": " << e.message() << Qt::endl;
        return 1;
    } catch (const std::exception& e) {
        err << CommandLine::Program << ": " << e.what() << Qt::endl;
        return 1;
    }
}
