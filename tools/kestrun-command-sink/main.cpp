// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandSink.h"
#include "command_adaptor.h"
#include "platform/TerminationSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrun-command-sink"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Receives the commands of the Kestrun event controller (interface de.kestrun.Command on the session bus)\n"
        "and prints each one on a line of its own."));
    parser.addHelpOption();
    const QCommandLineOption nameOption(QStringList {QStringLiteral("n"), QStringLiteral("name")},
                                        QStringLiteral("The bus name to own."), QStringLiteral("name"),
                                        QStringLiteral("de.kestrun.CommandSink"));
    parser.addOption(nameOption);
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("The object path to serve (default /)."));
    parser.process(app);

    const QString name = parser.value(nameOption);
    const QString path = parser.positionalArguments().value(0, QStringLiteral("/"));
    QDBusConnection bus = QDBusConnection::sessionBus();

    CommandSink sink(stdout);
    new CommandAdaptor(&sink);
    if (!bus.registerObject(path, &sink)) {
        std::fprintf(stderr, "kestrun-command-sink: cannot serve the object path \"%s\": %s\n", qUtf8Printable(path),
                     qUtf8Printable(bus.lastError().message()));
        return 1;
    }
    // The name last: whoever waits for it may send at once.
    if (!bus.registerService(name)) {
        std::fprintf(stderr, "kestrun-command-sink: cannot own the bus name \"%s\": %s\n", qUtf8Printable(name),
                     qUtf8Printable(bus.lastError().message()));
        return 1;
    }
    // The event loop ends normally, so that the bus name is given back at once.
    OnTerminationSignal([&app] { app.quit(); });
    return app.exec();
}
