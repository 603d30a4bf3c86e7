// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

class TSecretStore;

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
    QString SenderAddress;

    bool IsComplete() const { return !Server.isEmpty() && !SenderAddress.isEmpty(); }
};

// The settings key of the account: values SmtpServer, SmtpPort, SmtpSecurity
// (none, starttls or tls), SmtpUser, SenderAddress. The password is not kept
// there (ReadMailPassword); an SmtpPassword written there is moved away.
constexpr QStringView MailRegistryKey = u"SOFTWARE\\Kestrun\\Event Controller for OrvixIt\\Mail";

// The account from the user's settings. An unknown security reads as starttls; a
// missing or invalid port is the usual one of the security (25, 587, 465).
TMailAccount ReadMailAccount();

// The account's password from the desktop's keyring, else the user's password file (TSecretStore),
// empty when none is kept. A password still standing in the settings as SmtpPassword (where the
// user writes it, and where older versions kept it) is moved into the store first; it leaves the
// settings only once the store holds it, so it is never lost. May wait on the keyring: call it where
// the mail is sent, away from the main thread.
QString ReadMailPassword(const TMailAccount& account, TSecretStore& store);
QString ReadMailPassword(const TMailAccount& account);
