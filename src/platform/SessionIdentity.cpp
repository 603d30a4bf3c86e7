// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SessionIdentity.h"

#include <QFile>

#include <pwd.h>
#include <unistd.h>

namespace {

// The kernel keeps this for processes started from a login (pam_loginuid);
// (uid_t)-1 when there was none, as in a container or a service.
QString LoginUid()
{
    QFile file(QStringLiteral("/proc/self/loginuid"));
    if (file.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const qulonglong uid = file.readAll().trimmed().toULongLong(&ok);
        if (ok && uid != qulonglong(uid_t(-1)))
            return QString::number(uid);
    }
    return QString::number(::getuid());
}

} // namespace

QString SessionId()
{
    const QString session = qEnvironmentVariable("XDG_SESSION_ID");
    return session.isEmpty() ? LoginUid() : session;
}

QString SessionUserName()
{
    QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        return user;
    if (const passwd* entry = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(::getuid());
}
