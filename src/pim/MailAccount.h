#pragma once

#include <QString>
#include <QStringView>

// How the connection to the SMTP server is protected.
enum class TSmtpSecurity
{
    None,
    StartTls,
    Tls
};

/**
 * @brief The account the mail-program action sends through when it sends at
 * once. Without a server or a sender the mail goes to the composer instead.
 */
struct TMailAccount
{
    QString Server;
    int Port = 587;
    TSmtpSecurity Security = TSmtpSecurity::StartTls;
    QString User;
    QString Password;
    QString SenderAddress;

    bool IsComplete() const { return !Server.isEmpty() && !SenderAddress.isEmpty(); }
};

// The settings key of the account: values SmtpServer, SmtpPort, SmtpSecurity
// (none, starttls or tls), SmtpUser, SmtpPassword, SenderAddress.
constexpr QStringView MailRegistryKey = u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\Mail";

// The account from the user's settings. An unknown security reads as starttls; a
// missing or invalid port is the usual one of the security (25, 587, 465).
TMailAccount ReadMailAccount();
