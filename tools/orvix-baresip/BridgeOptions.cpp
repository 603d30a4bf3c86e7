// SPDX-License-Identifier: GPL-3.0-or-later

#include "BridgeOptions.h"

#include "LineSimError.h"
#include "SoftphoneService.h"

#include <QHostAddress>

namespace {

QString takeValue(QStringList& words, const QString& option)
{
    if (words.isEmpty() || words.first().startsWith(QLatin1String("--")))
        throw UsageError(QStringLiteral("option %1 needs a value").arg(option));
    return words.takeFirst();
}

int number(const QString& text, const QString& option, int lowest, int highest)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest) {
        throw UsageError(
            QStringLiteral("invalid value '%1' for %2 (expected %3..%4)").arg(text, option).arg(lowest).arg(highest));
    }
    return value;
}

// --account and --audio become lines of baresip's configuration: a line break would add lines of its own.
QString configValue(const QString& text, const QString& option)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            throw UsageError(QStringLiteral("%1 must not contain control characters such as line breaks").arg(option));
    }
    return text;
}

void checkListenAddress(const QString& address)
{
    const qsizetype colon = address.lastIndexOf(u':');
    QString host = address.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    if (colon <= 0 || QHostAddress(host).isNull())
        throw UsageError(QStringLiteral("invalid --sip-listen '%1' (expected ADDRESS:PORT)").arg(address));
    number(address.mid(colon + 1), QStringLiteral("the port of --sip-listen"), 1, 65535);
}

} // namespace

BridgeOptions BridgeOptions::parse(const QStringList& arguments)
{
    BridgeOptions options;
    options.service = QLatin1String(SoftphoneBus::DefaultService);
    QStringList words = arguments;
    while (!words.isEmpty()) {
        QString word = words.takeFirst();
        if (word.startsWith(QLatin1String("--")) && word.contains(u'=')) {
            words.prepend(word.section(u'=', 1));
            word = word.section(u'=', 0, 0);
        }
        if (word == QLatin1String("--help") || word == QLatin1String("-h") || word == QLatin1String("help")) {
            options.command = QStringLiteral("help");
            return options;
        }
        if (!word.startsWith(QLatin1String("--"))) {
            if (!options.command.isEmpty())
                throw UsageError(QStringLiteral("unexpected '%1' (see %2 --help)").arg(word, QLatin1String(Program)));
            if (word != QLatin1String("serve") && word != QLatin1String("quit") &&
                word != QLatin1String("set-password"))
                throw UsageError(
                    QStringLiteral("unknown command '%1' (see %2 --help)").arg(word, QLatin1String(Program)));
            options.command = word;
        } else if (word == QLatin1String("--service")) {
            options.service = takeValue(words, word);
        } else if (word == QLatin1String("--lines")) {
            options.lines = number(takeValue(words, word), word, 1, 255);
        } else if (word == QLatin1String("--sip-listen")) {
            options.sipListen = takeValue(words, word);
            checkListenAddress(options.sipListen);
        } else if (word == QLatin1String("--account")) {
            options.account = configValue(takeValue(words, word), word);
            // Every local user can read a command line: the password comes another way.
            if (options.account.contains(QLatin1String("auth_pass"), Qt::CaseInsensitive)) {
                throw UsageError(QStringLiteral("the password does not go on the command line, where every local "
                                                "user can read it: keep it with '%1 set-password' or give it on "
                                                "standard input with --password-stdin")
                                     .arg(QLatin1String(Program)));
            }
        } else if (word == QLatin1String("--ctrl-port")) {
            options.ctrlPort = static_cast<quint16>(number(takeValue(words, word), word, 1, 65535));
        } else if (word == QLatin1String("--country-code")) {
            options.countryCode = takeValue(words, word);
        } else if (word == QLatin1String("--area-code")) {
            options.areaCode = takeValue(words, word);
        } else if (word == QLatin1String("--terminated-ms")) {
            options.terminatedMs = number(takeValue(words, word), word, 0, 60000);
        } else if (word == QLatin1String("--baresip")) {
            options.baresip = takeValue(words, word);
        } else if (word == QLatin1String("--audio")) {
            options.audio = configValue(takeValue(words, word), word);
        } else if (word == QLatin1String("--folder")) {
            options.folder = takeValue(words, word);
        } else if (word == QLatin1String("--password-stdin")) {
            options.passwordFromInput = true;
        } else {
            throw UsageError(QStringLiteral("unknown option %1 (see %2 --help)").arg(word, QLatin1String(Program)));
        }
    }
    if (options.command.isEmpty())
        throw UsageError(QStringLiteral("no command given (see %1 --help)").arg(QLatin1String(Program)));
    return options;
}

QString BridgeOptions::helpText()
{
    return QStringLiteral("Usage: orvix-baresip [--service NAME] serve [options]\n"
                          "       orvix-baresip [--service NAME] quit\n"
                          "       orvix-baresip [--account URI] set-password\n"
                          "\n"
                          "serve offers the softphone's line manager on the session bus and drives baresip:\n"
                          "it starts its own baresip with a configuration written into --folder and talks to\n"
                          "no other. Calls ring on the first idle line.\n"
                          "\n"
                          "  --service NAME        bus name (default com.orvixit.Softphone)\n"
                          "  --lines N             number of lines, 1..255 (default 4)\n"
                          "  --sip-listen A:P      baresip's SIP address (default 127.0.0.1:5060)\n"
                          "  --account URI         SIP account, or a whole baresip account line \"<sip:...>;...\"\n"
                          "                        without its password (default sip:orvix@127.0.0.1)\n"
                          "  --password-stdin      read the account's password from standard input\n"
                          "  --ctrl-port PORT      baresip's control port on 127.0.0.1 (default: a free port\n"
                          "                        chosen at each start)\n"
                          "  --country-code CC     for numbers in the +CC form (default 49)\n"
                          "  --area-code AC        added to local numbers (default 30)\n"
                          "  --terminated-ms MS    how long an ended call shows LSTerminated, 0..60000 (default 1000)\n"
                          "  --baresip PATH        the baresip program (default baresip)\n"
                          "  --audio DRIVER[,DEV]  baresip audio module, e.g. alsa,default (default none: silent)\n"
                          "  --folder DIR          baresip's configuration folder (default ~/.config/orvix-baresip);\n"
                          "                        a folder with files the bridge did not write is refused\n"
                          "\n"
                          "quit stops a running bridge and the baresip it started.\n"
                          "\n"
                          "set-password reads the account's password from standard input (on a terminal\n"
                          "without showing it) and keeps it in the desktop's keyring, or where no keyring\n"
                          "runs in ~/.config/Kestrun/passwords, readable only by you. serve takes it from\n"
                          "there unless --password-stdin is given. The password never goes on the command\n"
                          "line and is never printed.\n"
                          "\n"
                          "baresip's control port is a TCP port of 127.0.0.1, which every local user can\n"
                          "reach (the installed baresip offers nothing narrower); see the README.\n");
}
