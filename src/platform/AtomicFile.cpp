// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/AtomicFile.h"

#include "platform/KestrunError.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

TAtomicFile::TAtomicFile(const QString& path, QFileDevice::Permissions permissions)
    : m_path(path)
    , m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Fail(m_file.errorString());
    if (permissions && !m_file.setPermissions(permissions))
        Fail(m_file.errorString());
}

void TAtomicFile::Write(const QByteArray& content)
{
    // A write that stops short (the disk filled up in the middle of it) does not say
    // why; the next one, for the rest, fails with the cause.
    for (qsizetype written = 0; written < content.size();) {
        const qint64 step = m_file.write(content.constData() + written, content.size() - written);
        if (step <= 0)
            Fail(m_file.errorString());
        written += step;
    }
}

void TAtomicFile::Commit()
{
    if (m_file.error() != QFileDevice::NoError || !m_file.flush())
        Fail(m_file.errorString());
    // QSaveFile does not check its own flush to the disk, and some file systems
    // (delayed allocation, network shares) report a full disk only there.
    if (::fsync(m_file.handle()) != 0)
        Fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!m_file.commit())
        Fail(m_file.errorString());
}

void TAtomicFile::Fail(const QString& cause)
{
    // The cause is taken before cancelling, which replaces it; the temporary file goes.
    m_file.cancelWriting();
    throw EKestrunError(QStringLiteral("The file \"%1\" cannot be written: %2").arg(m_path, cause));
}

void WriteFileAtomically(const QString& path, const QByteArray& content, QFileDevice::Permissions permissions)
{
    TAtomicFile file(path, permissions);
    file.Write(content);
    file.Commit();
}
