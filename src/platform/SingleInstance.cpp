// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SingleInstance.h"

#include "platform/RuntimeFolder.h"
#include "platform/SessionIdentity.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TSingleInstance::TSingleInstance(const QString& lockPath)
{
    m_file = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_file < 0) {
        // Without a lock file there is no telling; running twice is better than not at all.
        m_first = true;
        return;
    }
    // Only a live holder of the lock makes this a second start; a file system
    // without locks counts as no other instance.
    m_first = ::flock(m_file, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

TSingleInstance::~TSingleInstance()
{
    if (m_file >= 0)
        ::close(m_file);
}

QString TSingleInstance::LockPath()
{
    return UserRuntimePath() + QStringLiteral("/kestrun-eventcontroller-") + SessionId() + SessionUserName() +
        QStringLiteral(".lock");
}
