// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/EventControllerService.h"

#include "platform/DataPaths.h"
#include "platform/DialTarget.h"
#include "platform/KestrunError.h"
#include "program/Program.h"
#include "shell/MainForm.h"
#include "trace/Trace.h"

#include "eventcontroller_adaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>

const QString TEventControllerService::ServiceName = QStringLiteral("de.kestrun.EventController");
const QString TEventControllerService::ObjectPath = QStringLiteral("/EventController");
const QString TEventControllerService::InterfaceName = QStringLiteral("de.kestrun.EventController");

TEventControllerService::TEventControllerService(TProgram& program, TMainForm& mainForm)
    : m_program(program)
    , m_mainForm(mainForm)
{
    new EventControllerAdaptor(this);
    connect(&m_program, &TProgram::ActiveChanged, this, &TEventControllerService::AnnounceActive);
}

TEventControllerService::~TEventControllerService()
{
    if (!m_registered)
        return;
    // A blocking call on the same connection: answers still queued (that of Quit)
    // go out before it, so the caller gets them before the process ends.
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(ServiceName);
    bus.unregisterObject(ObjectPath);
}

bool TEventControllerService::Register()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Trace::Warning("Main::RegisterService:No session bus", bus.lastError().message());
        return false;
    }
    if (!bus.registerObject(ObjectPath, this)) {
        Trace::Warning("Main::RegisterService:Object not registered", ObjectPath);
        return false;
    }
    if (!bus.registerService(ServiceName)) {
        bus.unregisterObject(ObjectPath);
        Trace::Warning("Main::RegisterService:Name taken",
                       ServiceName + QStringLiteral(": ") + bus.lastError().message());
        return false;
    }
    m_registered = true;
    Trace::Value("Main::RegisterService:Registered", ServiceName);
    return true;
}

bool TEventControllerService::Active() const
{
    return m_program.Active();
}

void TEventControllerService::ShowRules()
{
    Trace::Message("Main::ShowRules:Rule list asked for over D-Bus");
    m_mainForm.ShowForm();
}

void TEventControllerService::ShowSettings()
{
    Trace::Message("Main::ShowSettings:Settings dialog asked for over D-Bus");
    m_mainForm.ShowSettings();
}

void TEventControllerService::SetActive(bool active)
{
    m_program.SetActive(active);
}

void TEventControllerService::ReloadRules()
{
    try {
        if (m_program.ReloadRules())
            return;
        sendErrorReply(QStringLiteral("de.kestrun.EventController.Error.RulesNotLoaded"),
                       QStringLiteral("The rules file is missing or cannot be read: ") + DataPathRulesFile());
    } catch (const std::exception& error) {
        Trace::Exception("Main::ReloadRules", error);
        sendErrorReply(QStringLiteral("de.kestrun.EventController.Error.RulesNotLoaded"),
                       QString::fromLocal8Bit(error.what()));
    }
}

void TEventControllerService::ShowHistory()
{
    m_mainForm.ShowHistory();
}

QString TEventControllerService::Dial(const QString& number)
{
    const TDialTarget target = TDialTarget::Parse(number);
    if (!target.IsValid()) {
        sendErrorReply(QStringLiteral("de.kestrun.EventController.Error.InvalidNumber"), target.error);
        return {};
    }
    try {
        m_program.PlaceCall(target.number);
        return target.number;
    } catch (const std::exception& error) {
        Trace::Exception("Main::Dial", error);
        sendErrorReply(QStringLiteral("de.kestrun.EventController.Error.CallFailed"), QString::fromUtf8(error.what()));
        return {};
    }
}

QStringList TEventControllerService::ExportRules(const QString& file, const QStringList& rules)
{
    return Exchange(file, [&] { return m_program.ExportRules(file, rules); });
}

QStringList TEventControllerService::ImportRules(const QString& file, const QStringList& rules)
{
    return Exchange(file, [&] {
        QStringList imported = m_program.ImportRules(file, rules);
        Trace::Strings("Main::ImportRule:Rules imported over D-Bus", imported);
        return imported;
    });
}

QStringList TEventControllerService::Exchange(const QString& file, const std::function<QStringList()>& exchange)
{
    const QString failed = QStringLiteral("de.kestrun.EventController.Error.ExchangeFailed");
    // This program's working folder means nothing to the caller.
    if (QFileInfo(file).isRelative()) {
        sendErrorReply(failed, QStringLiteral("Der Dateiname \"%1\" ist kein absoluter Pfad.").arg(file));
        return {};
    }
    try {
        return exchange();
    } catch (const EKestrunError& error) {
        Trace::Value("Main::ExchangeRules:Failed", error.Message());
        sendErrorReply(failed, error.Message());
    } catch (const std::exception& error) {
        Trace::Exception("Main::ExchangeRules", error);
        sendErrorReply(failed, QString::fromUtf8(error.what()));
    }
    return {};
}

void TEventControllerService::Quit()
{
    m_mainForm.ExitProgram();
}

void TEventControllerService::AnnounceActive(bool active)
{
    if (!m_registered)
        return;
    QDBusMessage changed = QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    changed << InterfaceName << QVariantMap {{QStringLiteral("Active"), active}} << QStringList();
    QDBusConnection::sessionBus().send(changed);
}
