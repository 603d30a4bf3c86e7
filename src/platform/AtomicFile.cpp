#include "platform/AtomicFile.h"

#include "platform/KestrunError.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

TAtomicFile::TAtomicFile(const QString& path, QIODevice::OpenMode extraMode)
    : m_path(path)
    , m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly | extraMode))
        Fail(m_file.errorString());
}

void TAtomicFile::Write(const QByteArray& content)
{
    if (m_file.write(content) != content.size())
        Fail(m_file.errorString());
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

void WriteFileAtomically(const QString& path, const QByteArray& content)
{
    TAtomicFile file(path);
    file.Write(content);
    file.Commit();
}
