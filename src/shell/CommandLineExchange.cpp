// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/CommandLineExchange.h"

#include "platform/KestrunError.h"
#include "platform/ProgramOptions.h"
#include "platform/SingleInstance.h"
#include "program/RulesFileExchange.h"
#include "rulesfile/RulesExchange.h"
#include "shell/EventControllerService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

// A large file takes the running instance a while; one that hangs must not keep
// an administrator's script waiting for ever.
constexpr int RunningInstanceTimeout = 120000;

void Print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = (QStringLiteral("kestrun-eventcontroller: ") + text + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int Fail(const QString& reason, int status)
{
    Print(stderr, reason);
    return status;
}

bool InstanceAnswersOnBus()
{
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(TEventControllerService::ServiceName).value();
}

QStringList ThroughRunningInstance(bool import, const QString& file, const QStringList& names)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        TEventControllerService::ServiceName, TEventControllerService::ObjectPath,
        TEventControllerService::InterfaceName, import ? QStringLiteral("ImportRules") : QStringLiteral("ExportRules"));
    call.setArguments({file, names});
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, RunningInstanceTimeout);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return reply.arguments().value(0).toStringList();
    if (reply.errorName() == QStringLiteral("de.kestrun.EventController.Error.ExchangeFailed"))
        throw EKestrunError(reply.errorMessage());
    throw EKestrunError(QStringLiteral("Das laufende Programm ist über D-Bus nicht erreichbar (%1); "
                                       "die Regeln bleiben unverändert.")
                            .arg(reply.errorMessage()));
}

} // namespace

int RunExchangeRequest(int argc, char** argv, const TExchangeRequest& request)
{
    const bool import = request.Kind == TExchangeRequest::EKind::Import;
    if (request.FileName.isEmpty())
        return Fail(QStringLiteral("%1 braucht den Namen einer Datei: %1 DATEI [REGELNAME...]")
                        .arg(import ? QStringLiteral("--import") : QStringLiteral("--export")),
                    2);
    const QCoreApplication app(argc, argv);
    const QString file = QFileInfo(request.FileName).absoluteFilePath();
    // The lock a starting instance takes: held until the end of this start, so that
    // none starts while the rules file is read and written here.
    std::optional<TSingleInstance> instance;
    try {
        instance.emplace(TSingleInstance::LockPath());
    } catch (const std::exception&) {
        // No private folder for the lock: an instance runs when its interface answers.
    }
    const bool instanceRuns = instance ? !instance->IsFirst() : InstanceAnswersOnBus();
    try {
        QStringList done;
        if (instanceRuns)
            done = ThroughRunningInstance(import, file, request.RuleNames);
        else if (import)
            done = RulesFileExchange::Import(file, request.RuleNames);
        else
            done = RulesFileExchange::Export(file, request.RuleNames);
        const QString count =
            done.size() == 1 ? QStringLiteral("1 Regel") : QStringLiteral("%1 Regeln").arg(done.size());
        Print(stdout,
              import ? QStringLiteral("%1 aus \"%2\" importiert: %3").arg(count, file, RulesExchange::Quoted(done))
                     : QStringLiteral("%1 nach \"%2\" exportiert: %3").arg(count, file, RulesExchange::Quoted(done)));
        return 0;
    } catch (const EKestrunError& error) {
        return Fail(error.Message(), 1);
    }
}
