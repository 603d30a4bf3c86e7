// SPDX-License-Identifier: GPL-3.0-or-later

#include "ListenerOwner.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <unistd.h>

namespace {

// The inodes of the sockets listening on 127.0.0.1:port. A line of /proc/net/tcp reads
// "sl local_address rem_address st tx:rx tr:when retrnsmt uid timeout inode ...", addresses in hex.
QSet<QString> listeningInodes(quint16 port)
{
    QSet<QString> inodes;
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return inodes;
    const QString local = QStringLiteral("0100007F:%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    table.readLine(); // the heading
    while (!table.atEnd()) {
        const QStringList fields = QString::fromLatin1(table.readLine()).split(u' ', Qt::SkipEmptyParts);
        constexpr int Listen = 0x0A;
        if (fields.size() > 9 && fields[1] == local && fields[3].toInt(nullptr, 16) == Listen)
            inodes.insert(fields[9]);
    }
    return inodes;
}

} // namespace

bool listensOn(qint64 pid, quint16 port)
{
    if (pid <= 0)
        return false;
    const QSet<QString> inodes = listeningInodes(port);
    if (inodes.isEmpty())
        return false;
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        char target[64];
        const ssize_t length = ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), target, sizeof target);
        const QString link = QString::fromLatin1(target, length > 0 ? length : 0);
        // "socket:[12345]"
        if (link.startsWith(QLatin1String("socket:[")) && link.endsWith(u']') &&
            inodes.contains(link.mid(8).chopped(1)))
            return true;
    }
    return false;
}
