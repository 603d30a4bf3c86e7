#include "pim/MailAccount.h"

#include "platform/Registry.h"

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
    // A password may begin or end with blanks.
    if (const auto password = key.ReadValue(QStringLiteral("SmtpPassword")))
        account.Password = RegistryString(*password);
    account.SenderAddress = text("SenderAddress");
    return account;
}
