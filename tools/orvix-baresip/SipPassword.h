// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class TSecretStore;

/**
 * @brief The SIP account's password: never on the command line (every local user can read that in /proc)
 * and never printed. It comes from standard input, or from the password store (the desktop's keyring,
 * else a file only the user can read), where "orvix-baresip set-password" puts it.
 */
namespace SipPassword {

// The store's name for the bridge's passwords; the account is the SIP address of record.
inline constexpr const char* Service = "orvix-baresip";

// One line of standard input without its line break. On a terminal it asks for it and does not echo
// what is typed. Throws BridgeError when the input ends before a line.
QString readFromInput(const QString& account);

// Throws BridgeError for a password baresip's account line cannot carry (it ends a value at a blank
// or ";" and knows no quoting).
void check(const QString& password);

// The password kept for the account, empty when there is none; throws BridgeError when the store
// cannot be read.
QString lookup(const TSecretStore& store, const QString& account);

// Keeps the password for the account and says where it went, for the user.
QString store(TSecretStore& store, const QString& account, const QString& password);

} // namespace SipPassword
