// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "trace/Trace.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

/**
 * @brief Writes entries as text lines to a file that never grows past its size limit.
 *
 * When the next entry would pass the limit, the file becomes the previous part
 * ("trace.sil" -> "trace.1.sil", replacing an older one) and a new file starts, so
 * at most twice the limit is kept on disk. An entry larger than the limit is cut.
 *
 * The caller formats its entry into a buffer; a thread of the sink's own writes the
 * buffer to the file, so that the caller never waits for the disk. An entry is handed
 * to the system at the latest FlushLatency after it was written, sooner once a batch
 * has gathered; a warning or worse before Write returns; every entry on Flush, Clear
 * and destruction. A crash of the program loses the entries still waiting: those of
 * the last FlushLatency, or more while the disk lags behind (a bounded amount: Write
 * then waits for room rather than dropping entries).
 */
class FileTraceSink final : public TraceSink
{
public:
    static constexpr std::chrono::milliseconds FlushLatency {100};

    // maxBytes 0 means no limit; append false starts a fresh trace (the previous part goes too).
    // Throws ETraceConfiguration when the file cannot be opened.
    FileTraceSink(const QString& fileName, qint64 maxBytes, bool append);
    ~FileTraceSink() override;
    FileTraceSink(const FileTraceSink&) = delete;
    FileTraceSink& operator=(const FileTraceSink&) = delete;

    // Throws ETraceOutput when the file cannot be opened, or when writing earlier entries failed.
    void Write(const TraceEntry& entry) override;
    // Empties the file and removes the previous part.
    void Clear() override;
    // Returns once every entry written so far is in the file; throws ETraceOutput like Write.
    void Flush() override;

    QString PreviousPartFileName() const;

private:
    enum class WriterState
    {
        Idle,
        Woken,
        Gathering,
        Busy
    };

    qint64 Open(bool fresh);
    void CloseFiles();
    void WriterLoop();
    QString WriteBatch(const std::string& batch, const std::vector<std::size_t>& partStarts);
    void WriteOut(const char* data, qsizetype size);
    void Rotate();
    void WakeWriter();
    void ThrowPendingError();

    const QString m_fileName;
    const QByteArray m_nativeName;
    const QByteArray m_nativePreviousName;
    const qint64 m_maxBytes;

    // Guards the formatted entries that wait for the writer, and the writer's state.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_progress;
    std::string m_pending;
    // Where in m_pending a new part of the file starts.
    std::vector<std::size_t> m_partStarts;
    // The size the current part will have once m_pending is written.
    qint64 m_partSize = 0;
    std::chrono::steady_clock::time_point m_firstPending;
    quint64 m_queued = 0;
    quint64 m_written = 0;
    bool m_flushWanted = false;
    bool m_stopping = false;
    int m_waitingProducers = 0;
    WriterState m_writerState = WriterState::Busy;
    QString m_error;

    // Guards the files; held by the writer while it writes a batch.
    std::mutex m_fileMutex;
    std::atomic<bool> m_fileOpen {false};
    int m_file = -1;
    int m_previousPart = -1;

    std::thread m_writer;
};
