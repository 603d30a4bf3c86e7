#pragma once

#include "trace/Trace.h"

#include <QString>

#include <memory>

namespace spdlog::sinks {
class sink;
} // namespace spdlog::sinks

/**
 * @brief Writes entries as text lines to a file that never grows past its size limit.
 *
 * When the next entry would pass the limit, the file becomes the previous part
 * ("trace.sil" -> "trace.1.sil", replacing an older one) and a new file starts, so
 * at most twice the limit is kept on disk. An entry larger than the limit is cut.
 * Every entry is flushed at once: the trace matters most when the program crashes.
 */
class FileTraceSink final : public TraceSink
{
public:
    // maxBytes 0 means no limit; append false starts a fresh trace (the previous part goes too).
    // Throws ETraceConfiguration when the file cannot be opened.
    FileTraceSink(const QString& fileName, qint64 maxBytes, bool append);
    ~FileTraceSink() override;
    FileTraceSink(const FileTraceSink&) = delete;
    FileTraceSink& operator=(const FileTraceSink&) = delete;

    // Throws ETraceOutput when the file cannot be written.
    void Write(const TraceEntry& entry) override;
    // Empties the file and removes the previous part.
    void Clear() override;

    QString FileName() const { return m_fileName; }
    QString PreviousPartFileName() const;

private:
    void Open(bool fresh);

    QString m_fileName;
    qint64 m_maxBytes;
    std::shared_ptr<spdlog::sinks::sink> m_sink;
};
