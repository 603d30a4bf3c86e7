// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief The configuration the bridge gives its own baresip: one account, a listen address, the control socket.
 *
 * Written into the bridge's folder at every start (mode 0600: an account line
 * may carry a password). No audio modules unless asked for, so baresip runs
 * without a sound card; never the "stdio" module, which spins without a terminal.
 */
struct BaresipConfig
{
    // baresip's console output, next to its configuration.
    static constexpr const char* LogName = "baresip.log";

    QString sipListen;
    // A SIP URI ("sip:1001@192.0.2.10"), or a complete baresip account line ("<sip:...>;regint=600").
    QString account;
    // Empty for none; goes into the accounts file only (mode 0600), never onto a command line.
    QString password;
    quint16 ctrlPort = 0;
    // baresip's own limit of calls at once (its default is four): one for each line.
    int maxCalls = 4;
    // "MODULE" or "MODULE,DEVICE" of baresip's audio drivers ("alsa,default"); empty for none.
    QString audio;
    QString modulePath;

    // The account line with the answer mode every bridge needs (calls must ring until taken) and the password.
    QString accountLine() const;
    // The address of record in the account line.
    QString accountAddress() const;
    QString configText() const;
    // Throws BridgeError when the folder or a file cannot be written, or when the folder holds files
    // the bridge did not write there (a user's own ~/.baresip must not be overwritten).
    void write(const QString& folder) const;

    // Where this system keeps baresip's modules; throws BridgeError when there is none.
    static QString findModulePath();
};
