// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SystemRoutines.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace {

bool IsUsableIPv4(const QHostAddress& address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback();
}

QString LoginName()
{
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return QString::fromLocal8Bit(found->pw_name);
}

// Keeps the expression as written and makes it match the whole text: its "$"
// alone would also accept a trailing line break.
QRegularExpression WholeText(const QString& pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern));
}

} // namespace

QString GetEnvVarValue(const QString& name)
{
    if (name.isEmpty())
        return {};
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString GetLocalIpAddress()
{
    // Debian maps the host name to 127.0.1.1, so the interfaces are the usual answer.
    const QHostInfo host = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress& address : host.addresses()) {
        if (IsUsableIPv4(address))
            return address.toString();
    }
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (IsUsableIPv4(entry.ip()))
                return entry.ip().toString();
        }
    }
    return {};
}

QString GetComputerName()
{
    const QString name = GetEnvVarValue(QStringLiteral("COMPUTERNAME"));
    return name.isEmpty() ? QHostInfo::localHostName() : name;
}

QString GetUserName()
{
    for (const QString& variable : {QStringLiteral("USERNAME"), QStringLiteral("USER")}) {
        QString name = GetEnvVarValue(variable);
        if (!name.isEmpty())
            return name;
    }
    return LoginName();
}

QString GetOperatingSystemName()
{
    QString name = GetEnvVarValue(QStringLiteral("OS"));
    if (name.isEmpty())
        name = QSysInfo::prettyProductName();
    return name.isEmpty() ? QSysInfo::kernelType() : name;
}

bool IsEMailAddress(const QString& text)
{
    static const QRegularExpression expression =
        WholeText(QStringLiteral(R"(^[a-zA-Z0-9._%+-]+@[a-zA-Z0-9.-]+\.[a-zA-Z]{2,}$)"));
    return expression.match(text).hasMatch();
}

bool IsTelephoneNumber(const QString& text)
{
    static const QRegularExpression expression =
        WholeText(QStringLiteral(R"(^\+?\d{1,4}?[-. ]?\(?(?:\d{1,3}?\)?[-. ]?)??\d{1,4}[-. ]?\d{1,9}$)"));
    return expression.match(text).hasMatch();
}
