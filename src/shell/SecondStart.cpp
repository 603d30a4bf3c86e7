#include "shell/SecondStart.h"

#include "platform/HandoffMessage.h"
#include "shell/EventControllerService.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>

namespace {

// A running instance answers at once; one that hangs must not keep the menu's start waiting.
constexpr int ShowRulesTimeout = 5000;

bool AskRunningInstanceToShowRules(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    const QDBusMessage call =
        QDBusMessage::createMethodCall(TEventControllerService::ServiceName, TEventControllerService::ObjectPath,
                                       TEventControllerService::InterfaceName, QStringLiteral("ShowRules"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, ShowRulesTimeout);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    qWarning("The running instance could not be asked to show its rules: %s", qPrintable(reply.errorMessage()));
    return false;
}

} // namespace

int RunShowRules(int argc, char** argv)
{
    if (AskRunningInstanceToShowRules(argc, argv))
        return 0;
    QApplication app(argc, argv);
    ShowAlreadyRunning();
    return 1;
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
