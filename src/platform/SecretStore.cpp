// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SecretStore.h"

#include "platform/AtomicFile.h"
#include "platform/KestrunError.h"

// glib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

const QString SecretServiceName = QStringLiteral("org.freedesktop.secrets");
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

const SecretSchema* Schema()
{
    static const SecretSchema schema = [] {
        SecretSchema made {};
        made.name = "de.kestrun.Password";
        made.flags = SECRET_SCHEMA_NONE;
        made.attributes[0] = {"service", SECRET_SCHEMA_ATTRIBUTE_STRING};
        made.attributes[1] = {"account", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return made;
    }();
    return &schema;
}

struct TErrorFree
{
    void operator()(GError* error) const { g_error_free(error); }
};
using TGError = std::unique_ptr<GError, TErrorFree>;

QString KeyringFailure(const char* what, const GError* error)
{
    return QStringLiteral("The desktop's keyring cannot %1 the password: %2")
        .arg(QLatin1String(what), QString::fromUtf8(error ? error->message : "unknown error"));
}

QJsonObject ReadFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        throw EKestrunError(QStringLiteral("The passwords in %1 cannot be read: not a file").arg(path));
    QFile file(path);
    // Kept only for the user: a file someone made readable for others is closed again before use.
    if ((file.permissions() & ~(OwnerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser)) != 0)
        file.setPermissions(OwnerOnly);
    if (!file.open(QIODevice::ReadOnly))
        throw EKestrunError(QStringLiteral("The passwords in %1 cannot be read: %2").arg(path, file.errorString()));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw EKestrunError(QStringLiteral("The passwords in %1 cannot be read: not a password file").arg(path));
    return document.object();
}

void WriteFile(const QString& path, const QJsonObject& passwords)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    try {
        WriteFileAtomically(path, QJsonDocument(passwords).toJson(), OwnerOnly);
    } catch (const EKestrunError& error) {
        throw EKestrunError(QStringLiteral("The password cannot be kept in %1: %2").arg(path, error.Message()));
    }
}

} // namespace

TSecretStore::TSecretStore(QString file, bool keyring)
    : m_file(std::move(file))
    , m_keyring(keyring && KeyringAvailable())
{
}

QString TSecretStore::DefaultFile()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Kestrun/passwords");
}

bool TSecretStore::KeyringAvailable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusConnectionInterface* busInterface = bus.interface();
    return busInterface->isServiceRegistered(SecretServiceName).value() ||
        busInterface->activatableServiceNames().value().contains(SecretServiceName);
}

std::optional<QString> TSecretStore::Lookup(const QString& service, const QString& account) const
{
    if (m_keyring) {
        GError* raw = nullptr;
        gchar* password = secret_password_lookup_sync(Schema(), nullptr, &raw, "service", service.toUtf8().constData(),
                                                      "account", account.toUtf8().constData(), nullptr);
        const TGError error(raw);
        if (error)
            throw EKestrunError(KeyringFailure("read", error.get()));
        if (!password)
            return std::nullopt;
        const QString result = QString::fromUtf8(password);
        secret_password_free(password);
        return result;
    }
    const QJsonValue value = ReadFile(m_file).value(service).toObject().value(account);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

TSecretStore::TPlace TSecretStore::Store(const QString& service, const QString& account, const QString& label,
                                         const QString& password)
{
    if (m_keyring) {
        GError* raw = nullptr;
        secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.toUtf8().constData(),
                                   password.toUtf8().constData(), nullptr, &raw, "service",
                                   service.toUtf8().constData(), "account", account.toUtf8().constData(), nullptr);
        const TGError error(raw);
        if (error)
            throw EKestrunError(KeyringFailure("keep", error.get()));
        return TPlace::Keyring;
    }
    QJsonObject passwords = ReadFile(m_file);
    QJsonObject accounts = passwords.value(service).toObject();
    accounts.insert(account, password);
    passwords.insert(service, accounts);
    WriteFile(m_file, passwords);
    return TPlace::File;
}
