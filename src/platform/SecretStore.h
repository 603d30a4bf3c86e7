// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

/**
 * @brief Keeps passwords out of settings files and command lines: in the desktop's keyring (the Secret
 * Service on the session bus, through libsecret) where one runs, else in a file only the user can read.
 *
 * A password is named by its service ("smtp", "orvix-baresip") and account ("anna@smtp.example.com").
 * The file (mode 0600, written through a temporary file) is the fallback for desktops without a keyring:
 * $XDG_CONFIG_HOME/Kestrun/passwords unless told otherwise. Every call may wait on the keyring, which
 * may ask the user to unlock it: a program with windows calls it away from its main thread.
 */
class TSecretStore
{
public:
    // Where a password went.
    enum class TPlace
    {
        Keyring,
        File
    };

    // file: the fallback file; keyring false: the file only (for tests of the fallback).
    explicit TSecretStore(QString file = DefaultFile(), bool keyring = true);

    static QString DefaultFile();
    // Whether a Secret Service runs on the session bus (or can be started there).
    static bool KeyringAvailable();

    // Nothing when no password is kept; throws EKestrunError when the keyring or file cannot be read.
    std::optional<QString> Lookup(const QString& service, const QString& account) const;
    // label: what the keyring shows the user. Throws EKestrunError when the password cannot be kept.
    TPlace Store(const QString& service, const QString& account, const QString& label, const QString& password);
    // Where passwords go now: the keyring, or the file.
    TPlace Place() const { return m_keyring ? TPlace::Keyring : TPlace::File; }
    const QString& File() const { return m_file; }

private:
    QString m_file;
    bool m_keyring;
};
