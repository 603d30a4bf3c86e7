// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

/**
 * @brief The command line of orvix-baresip: "serve" with its options, or "quit".
 */
struct BridgeOptions
{
    static constexpr const char* Program = "orvix-baresip";

    QString command; // "serve", "quit", "set-password" or "help"
    QString service;
    int lines = 4;
    QString sipListen = QStringLiteral("127.0.0.1:5060");
    QString account = QStringLiteral("sip:orvix@127.0.0.1");
    quint16 ctrlPort = 0; // 0: a free port chosen at each start of baresip
    QString countryCode = QStringLiteral("49");
    QString areaCode = QStringLiteral("30");
    // How long an ended call stays LSTerminated, so that a client reading the line after the notification
    // still finds the call.
    int terminatedMs = 1000;
    QString baresip = QStringLiteral("baresip");
    QString audio;
    QString folder; // empty: the bridge's folder under the user's configuration
    bool passwordFromInput = false; // --password-stdin
    // Never from the command line: read from standard input or the password store before serving.
    QString password;

    // Throws UsageError for anything it does not understand.
    static BridgeOptions parse(const QStringList& arguments);
    static QString helpText();
};
