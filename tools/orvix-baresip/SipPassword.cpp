// SPDX-License-Identifier: GPL-3.0-or-later

#include "SipPassword.h"

#include "BridgeError.h"
#include "platform/KestrunError.h"
#include "platform/SecretStore.h"

#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace SipPassword {

QString readFromInput(const QString& account)
{
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved {};
    if (terminal) {
        std::cerr << "SIP password for " << account.toStdString() << ": " << std::flush;
        ::tcgetattr(STDIN_FILENO, &saved);
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << std::endl;
    }
    if (!read)
        throw BridgeError(QStringLiteral("no password on standard input"));
    QString password = QString::fromStdString(line);
    if (password.endsWith(u'\r'))
        password.chop(1);
    return password;
}

void check(const QString& password)
{
    for (const QChar c : password) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c == u';' || c == u'>' || c == u'"')
            throw BridgeError(QStringLiteral("baresip cannot take a password with blanks, control characters, "
                                             "';', '>' or '\"' in it"));
    }
}

QString lookup(const TSecretStore& store, const QString& account)
{
    try {
        return store.Lookup(QLatin1String(Service), account).value_or(QString());
    } catch (const EKestrunError& error) {
        throw BridgeError(error.Message());
    }
}

QString store(TSecretStore& store, const QString& account, const QString& password)
{
    try {
        const TSecretStore::TPlace place =
            store.Store(QLatin1String(Service), account,
                        QStringLiteral("orvix-baresip: SIP password of %1").arg(account), password);
        return place == TSecretStore::TPlace::Keyring
            ? QStringLiteral("in the desktop's keyring")
            : QStringLiteral("in %1 (no keyring runs; only you can read the file)").arg(store.File());
    } catch (const EKestrunError& error) {
        throw BridgeError(error.Message());
    }
}

} // namespace SipPassword
