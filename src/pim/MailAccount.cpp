// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MailAccount.h"

#include "platform/KestrunError.h"
#include "platform/Registry.h"
#include "platform/SecretStore.h"
#include "trace/Trace.h"

namespace {

int DefaultPort(TSmtpSecurity security)
{
    switch (security) {
    case TSmtpSecurity::None:
        return 25;
    case TSmtpSecurity::StartTls:
        return 587;
    case TSmtpSecurity::Tls:
        return 465;
    }
    return 587;
}

const QString PasswordService = QStringLiteral("smtp");
const QString PasswordValue = QStringLiteral("SmtpPassword");

QString PasswordAccount(const TMailAccount& account)
{
    return account.User + u'@' + account.Server;
}

} // namespace

TMailAccount ReadMailAccount()
{
    const TRegistryKey key(QSettings::UserScope, MailRegistryKey);
    const auto text = [&key](const char* name) {
        const auto value = key.ReadValue(QString::fromLatin1(name));
        return value ? RegistryString(*value).trimmed() : QString();
    };
    TMailAccount account;
    account.Server = text("SmtpServer");
    const QString security = text("SmtpSecurity").toLower();
    if (security == u"none")
        account.Security = TSmtpSecurity::None;
    else if (security == u"tls")
        account.Security = TSmtpSecurity::Tls;
    bool ok = false;
    const int port = text("SmtpPort").toInt(&ok);
    account.Port = ok && port > 0 && port < 65536 ? port : DefaultPort(account.Security);
    account.User = text("SmtpUser");
    account.SenderAddress = text("SenderAddress");
    return account;
}

QString ReadMailPassword(const TMailAccount& account, TSecretStore& store)
{
    TRegistryKey key(QSettings::UserScope, MailRegistryKey);
    if (const auto written = key.ReadValue(PasswordValue)) {
        // A password may begin or end with blanks.
        QString password = RegistryString(*written);
        try {
            store.Store(PasswordService, PasswordAccount(account),
                        QStringLiteral("Kestrun Event Controller: SMTP-Passwort für %1").arg(PasswordAccount(account)),
                        password);
            if (store.Lookup(PasswordService, PasswordAccount(account)) == password && key.DeleteValue(PasswordValue))
                Trace::Value("MailAccount::ReadMailPassword:SMTP password moved out of the settings into",
                             store.Place() == TSecretStore::TPlace::Keyring ? QStringLiteral("the desktop's keyring")
                                                                            : store.File());
        } catch (const EKestrunError& error) {
            Trace::Exception("MailAccount::ReadMailPassword:SMTP password stays in the settings", error);
        }
        return password;
    }
    try {
        return store.Lookup(PasswordService, PasswordAccount(account)).value_or(QString());
    } catch (const EKestrunError& error) {
        Trace::Exception("MailAccount::ReadMailPassword:SMTP password cannot be read", error);
        return {};
    }
}

QString ReadMailPassword(const TMailAccount& account)
{
    TSecretStore store;
    return ReadMailPassword(account, store);
}
