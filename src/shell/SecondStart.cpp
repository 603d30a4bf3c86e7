// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/SecondStart.h"

#include "platform/DialTarget.h"
#include "platform/HandoffMessage.h"
#include "shell/EventControllerService.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>

#include <cstdio>
#include <unistd.h>

namespace {

// A running instance answers at once (a dial within the softphone's own 2 s); one
// that hangs must not keep the start waiting.
constexpr int RunningInstanceTimeout = 5000;

QDBusMessage CallRunningInstance(int argc, char** argv, const QString& method, const QVariantList& arguments = {})
{
    const QCoreApplication app(argc, argv);
    QDBusMessage call =
        QDBusMessage::createMethodCall(TEventControllerService::ServiceName, TEventControllerService::ObjectPath,
                                       TEventControllerService::InterfaceName, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, RunningInstanceTimeout);
}

// Started from a desktop link nobody reads standard error; a box tells the user then.
bool StartedFromDesktop()
{
    if (isatty(STDERR_FILENO))
        return false;
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        return false;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

int RefuseDial(int argc, char** argv, const QString& reason, int status)
{
    const QByteArray text = (QStringLiteral("kestrun-eventcontroller: ") + reason + u'\n').toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    if (StartedFromDesktop()) {
        QApplication app(argc, argv);
        TMessageBox::Warning(nullptr, QStringLiteral("Anrufen"), reason);
    }
    return status;
}

} // namespace

int RunShowRules(int argc, char** argv)
{
    const QDBusMessage reply = CallRunningInstance(argc, argv, QStringLiteral("ShowRules"));
    if (reply.type() == QDBusMessage::ReplyMessage)
        return 0;
    qWarning("The running instance could not be asked to show its rules: %s", qPrintable(reply.errorMessage()));
    QApplication app(argc, argv);
    ShowAlreadyRunning();
    return 1;
}

std::optional<int> RunDialRequest(int argc, char** argv, const QString& request, bool programRuns)
{
    const TDialTarget target = TDialTarget::Parse(request);
    if (!target.IsValid())
        return RefuseDial(argc, argv, target.error, 2);
    if (!programRuns)
        return std::nullopt;
    const QDBusMessage reply = CallRunningInstance(argc, argv, QStringLiteral("Dial"), {target.number});
    if (reply.type() == QDBusMessage::ErrorMessage)
        return RefuseDial(argc, argv,
                          QStringLiteral("Der Anruf konnte nicht aufgebaut werden: ") + reply.errorMessage(), 1);
    return 0;
}

int RunSecondStart(int argc, char** argv)
{
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!argument.isEmpty()) {
        // No window and no display needed: the softphone may start us from anywhere.
        try {
            SendHandoffMessage(HandoffSocketPath(), BuildHandoffMessage(argument));
        } catch (const std::exception&) {
            // Nobody is told: a hand-off that finds no reader ends the same way.
        }
        return 0;
    }
    QApplication app(argc, argv);
    ShowAlreadyRunning();
    return 1;
}

void ShowAlreadyRunning()
{
    // The caption is spelt as users have always seen it, unlike the program's title.
    TMessageBox::Critical(nullptr, QStringLiteral("Kestrun EventController for OrvixIt!"),
                          QStringLiteral("Application already running."));
}
