// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/FileTraceSink.h"

#include "trace/TraceLine.h"
#include "trace/TraceObjectDump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 SmallestLimit = 64;
constexpr QByteArrayView CutMark = " [cut]";
// The writer is woken once this much waits; less waits at most FlushLatency.
constexpr std::size_t BatchBytes = std::size_t {256} * 1024;
// Past this much waiting a caller waits for the writer.
constexpr std::size_t PendingCapacity = std::size_t {4} * 1024 * 1024;

QByteArray NativeName(const QString& fileName)
{
    return QFile::encodeName(fileName);
}

// The number goes before the extension, so that the previous part still opens
// as a trace: "Name.sil" gives "Name.1.sil". A name without an extension (none
// after the last "/", or only a leading dot) gets ".1" at the end.
QByteArray NativePreviousName(const QString& fileName)
{
    const QByteArray name = NativeName(fileName);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || dot == name.size() - 1 || name.lastIndexOf('/') >= dot - 1)
        return name + ".1";
    return name.left(dot) + ".1" + name.mid(dot);
}

QString ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Cuts the line that starts at start at a character boundary, so that it stays valid UTF-8.
void FitInto(std::string& buffer, std::size_t start, qint64 room)
{
    if (qint64(buffer.size() - start) <= room)
        return;
    std::size_t cut = std::size_t(room - CutMark.size());
    while (cut > 0 && (uchar(buffer[start + cut]) & 0xC0) == 0x80)
        --cut;
    buffer.resize(start + cut);
    buffer.append(CutMark.data(), std::size_t(CutMark.size()));
}

} // namespace

FileTraceSink::FileTraceSink(const QString& fileName, qint64 maxBytes, bool append)
    : m_fileName(fileName)
    , m_nativeName(NativeName(fileName))
    , m_nativePreviousName(NativePreviousName(fileName))
    , m_maxBytes(maxBytes)
{
    if (fileName.isEmpty())
        throw ETraceConfiguration(u"Trace file: no file name"_s);
    if (maxBytes != 0 && maxBytes < SmallestLimit)
        throw ETraceConfiguration(u"Trace file: a size limit of %1 bytes is too small"_s.arg(maxBytes));
    m_partSize = Open(!append);
    m_pending.reserve(BatchBytes);
    try {
        m_writer = std::thread([this] { WriterLoop(); });
    } catch (...) {
        CloseFiles();
        throw;
    }
}

FileTraceSink::~FileTraceSink()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_wake.notify_one();
    }
    m_writer.join();
    CloseFiles();
}

QString FileTraceSink::PreviousPartFileName() const
{
    return QFile::decodeName(m_nativePreviousName);
}

void FileTraceSink::CloseFiles()
{
    m_fileOpen = false;
    if (m_file >= 0)
        ::close(m_file);
    if (m_previousPart >= 0)
        ::close(m_previousPart);
    m_file = -1;
    m_previousPart = -1;
}

qint64 FileTraceSink::Open(bool fresh)
{
    CloseFiles();
    const QString folder = QFileInfo(m_fileName).absolutePath();
    if (!QDir().mkpath(folder))
        throw ETraceConfiguration(u"Trace file: cannot create the folder \"%1\""_s.arg(folder));
    if (fresh) {
        const QString previous = PreviousPartFileName();
        if (QFile::exists(previous) && !QFile::remove(previous))
            throw ETraceConfiguration(u"Trace file: cannot remove \"%1\""_s.arg(previous));
    }
    const int file =
        ::open(m_nativeName.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (fresh ? O_TRUNC : 0), 0666);
    if (file < 0)
        throw ETraceConfiguration(u"Trace file: cannot open \"%1\": %2"_s.arg(m_fileName, ErrorText(errno)));
    struct stat status = {};
    const qint64 size = ::fstat(file, &status) == 0 ? qint64(status.st_size) : 0;
    m_file = file;
    m_previousPart = ::open(m_nativePreviousName.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    m_fileOpen = true;
    return size;
}

void FileTraceSink::WakeWriter()
{
    if (m_writerState == WriterState::Idle || m_writerState == WriterState::Gathering) {
        m_writerState = WriterState::Woken;
        m_wake.notify_one();
    }
}

void FileTraceSink::ThrowPendingError()
{
    if (!m_error.isEmpty())
        throw ETraceOutput(std::exchange(m_error, {}));
}

void FileTraceSink::Write(const TraceEntry& entry)
{
    if (!m_fileOpen) {
        // A failed Clear leaves no file open; each entry tries again.
        const std::lock_guard fileLock(m_fileMutex);
        try {
            if (!m_fileOpen) {
                const qint64 size = Open(false);
                const std::lock_guard lock(m_mutex);
                if (m_pending.empty())
                    m_partSize = size;
            }
        } catch (const ETraceConfiguration& error) {
            throw ETraceOutput(error.Message());
        }
    }

    std::unique_lock lock(m_mutex);
    while (m_pending.size() >= PendingCapacity) {
        ++m_waitingProducers;
        WakeWriter();
        m_progress.wait(lock);
        --m_waitingProducers;
    }
    if (m_pending.empty())
        m_firstPending = std::chrono::steady_clock::now();
    const std::size_t start = m_pending.size();
    AppendTraceLine(m_pending, entry);
    if (m_maxBytes > 0)
        FitInto(m_pending, start, m_maxBytes - 1); // the line break counts too
    m_pending += '\n';
    const qint64 lineSize = qint64(m_pending.size() - start);
    if (m_maxBytes > 0 && m_partSize + lineSize > m_maxBytes && m_partSize > 0) {
        // The part before the previous one goes. An entry that names an unchanged object may itself
        // start the new part, so the dump it refers to must be in the part that becomes the previous
        // one: every object is dumped anew in each part.
        TraceStartNewGeneration();
        m_partStarts.push_back(start);
        m_partSize = 0;
    }
    m_partSize += lineSize;
    const quint64 sequence = ++m_queued;

    // A warning may come right before a crash: it is in the file before the caller goes on.
    if (entry.level >= TraceLevel::Warning) {
        m_flushWanted = true;
        WakeWriter();
        m_progress.wait(lock, [this, sequence] { return m_written >= sequence; });
    } else if (m_writerState == WriterState::Idle || m_pending.size() >= BatchBytes) {
        WakeWriter();
    }
    ThrowPendingError();
}

void FileTraceSink::Flush()
{
    std::unique_lock lock(m_mutex);
    const quint64 target = m_queued;
    if (m_written < target) {
        m_flushWanted = true;
        WakeWriter();
        m_progress.wait(lock, [this, target] { return m_written >= target; });
    }
    ThrowPendingError();
}

void FileTraceSink::Clear()
{
    try {
        Flush();
    } catch (const ETraceOutput&) {
        // What could not be written is about to be cleared anyway.
    }
    const std::lock_guard fileLock(m_fileMutex);
    try {
        Open(true);
    } catch (const ETraceConfiguration& error) {
        CloseFiles();
        throw ETraceOutput(error.Message());
    }
    const std::lock_guard lock(m_mutex);
    m_partSize = qint64(m_pending.size());
}

void FileTraceSink::WriterLoop()
{
    std::string batch;
    std::vector<std::size_t> partStarts;
    const auto urgent = [this] { return m_stopping || m_flushWanted || m_waitingProducers > 0; };
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_pending.empty() && !urgent()) {
            m_writerState = WriterState::Idle;
            m_wake.wait(lock, [&] { return !m_pending.empty() || urgent(); });
        }
        if (!urgent() && m_pending.size() < BatchBytes) {
            m_writerState = WriterState::Gathering;
            m_wake.wait_until(lock, m_firstPending + FlushLatency,
                              [&] { return urgent() || m_pending.size() >= BatchBytes; });
        }
        m_writerState = WriterState::Busy;
        if (m_pending.empty() && m_stopping)
            return;
        // The buffers change hands and keep their capacity: no allocation once both are grown.
        batch.swap(m_pending);
        partStarts.swap(m_partStarts);
        const quint64 target = m_queued;
        m_flushWanted = false;
        m_progress.notify_all();
        lock.unlock();

        QString error = WriteBatch(batch, partStarts);
        batch.clear();
        partStarts.clear();

        lock.lock();
        m_written = target;
        if (!error.isEmpty())
            m_error = std::move(error);
        m_progress.notify_all();
    }
}

QString FileTraceSink::WriteBatch(const std::string& batch, const std::vector<std::size_t>& partStarts)
{
    const std::lock_guard fileLock(m_fileMutex);
    try {
        if (!m_fileOpen)
            Open(false);
        std::size_t from = 0;
        for (const std::size_t partStart : partStarts) {
            WriteOut(batch.data() + from, qsizetype(partStart - from));
            Rotate();
            from = partStart;
        }
        WriteOut(batch.data() + from, qsizetype(batch.size() - from));
        return {};
    } catch (const EKestrunError& error) {
        return error.Message();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

void FileTraceSink::WriteOut(const char* data, qsizetype size)
{
    qsizetype done = 0;
    while (done < size) {
        const ssize_t written = ::write(m_file, data + done, std::size_t(size - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw ETraceOutput(u"Trace file \"%1\": %2"_s.arg(m_fileName, ErrorText(written < 0 ? errno : ENOSPC)));
        done += written;
    }
}

void FileTraceSink::Rotate()
{
    // Swapping the two names and emptying the old previous part is several times cheaper on ext4
    // than removing, renaming and creating; a rename over the old part would even write it out.
    struct stat previous = {};
    if (m_previousPart >= 0 && ::fstat(m_previousPart, &previous) == 0 && previous.st_nlink > 0 &&
        ::renameat2(AT_FDCWD, m_nativeName.constData(), AT_FDCWD, m_nativePreviousName.constData(), RENAME_EXCHANGE) ==
            0) {
        std::swap(m_file, m_previousPart);
        if (::ftruncate(m_file, 0) != 0)
            throw ETraceOutput(u"Trace file \"%1\": %2"_s.arg(m_fileName, ErrorText(errno)));
        return;
    }
    if (m_previousPart >= 0)
        ::close(m_previousPart);
    m_previousPart = -1;
    ::unlink(m_nativePreviousName.constData());
    if (::rename(m_nativeName.constData(), m_nativePreviousName.constData()) == 0) {
        m_previousPart = m_file;
    } else if (errno == ENOENT) {
        // Someone removed the file; the next part starts under its name all the same.
        ::close(m_file);
    } else {
        const int error = errno;
        // The file must not grow past its limit even so.
        if (::ftruncate(m_file, 0) != 0) {
            const int truncateError = errno;
            throw ETraceOutput(u"Trace file \"%1\": cannot rename it (%2) nor empty it: %3"_s.arg(
                m_fileName, ErrorText(error), ErrorText(truncateError)));
        }
        throw ETraceOutput(u"Trace file \"%1\": cannot rename it: %2"_s.arg(m_fileName, ErrorText(error)));
    }
    m_file = ::open(m_nativeName.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (m_file < 0) {
        const int error = errno;
        m_fileOpen = false;
        throw ETraceOutput(u"Trace file: cannot open \"%1\": %2"_s.arg(m_fileName, ErrorText(error)));
    }
}
