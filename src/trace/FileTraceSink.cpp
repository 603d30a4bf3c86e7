#include "trace/FileTraceSink.h"

#include "trace/TraceLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <spdlog/details/log_msg.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/rotating_file_sink.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

using RotatingSink = spdlog::sinks::rotating_file_sink_mt;

constexpr qint64 SmallestLimit = 64;
constexpr QByteArrayView CutMark = " [cut]";

std::string NativeName(const QString& fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

// Cuts at a character boundary, so that the line stays valid UTF-8.
void FitInto(QByteArray& text, qint64 room)
{
    if (text.size() <= room)
        return;
    qsizetype cut = room - CutMark.size();
    while (cut > 0 && (uchar(text.at(cut)) & 0xC0) == 0x80)
        --cut;
    text.truncate(cut);
    text += CutMark;
}

} // namespace

FileTraceSink::FileTraceSink(const QString& fileName, qint64 maxBytes, bool append)
    : m_fileName(fileName)
    , m_maxBytes(maxBytes)
{
    if (fileName.isEmpty())
        throw ETraceConfiguration(u"Trace file: no file name"_s);
    if (maxBytes != 0 && maxBytes < SmallestLimit)
        throw ETraceConfiguration(u"Trace file: a size limit of %1 bytes is too small"_s.arg(maxBytes));
    Open(!append);
}

FileTraceSink::~FileTraceSink() = default;

QString FileTraceSink::PreviousPartFileName() const
{
    return QFile::decodeName(QByteArray::fromStdString(RotatingSink::calc_filename(NativeName(m_fileName), 1)));
}

void FileTraceSink::Open(bool fresh)
{
    m_sink.reset();
    const QString folder = QFileInfo(m_fileName).absolutePath();
    if (!QDir().mkpath(folder))
        throw ETraceConfiguration(u"Trace file: cannot create the folder \"%1\""_s.arg(folder));
    if (fresh) {
        const QString previous = PreviousPartFileName();
        if (QFile::exists(previous) && !QFile::remove(previous))
            throw ETraceConfiguration(u"Trace file: cannot remove \"%1\""_s.arg(previous));
        QFile file(m_fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw ETraceConfiguration(u"Trace file: cannot open \"%1\": %2"_s.arg(m_fileName, file.errorString()));
    }

    const std::size_t maxSize = m_maxBytes > 0 ? std::size_t(m_maxBytes) : std::numeric_limits<std::size_t>::max() / 2;
    try {
        auto sink = std::make_shared<RotatingSink>(NativeName(m_fileName), maxSize, 1);
        sink->set_formatter(std::make_unique<spdlog::pattern_formatter>("%v", spdlog::pattern_time_type::local, "\n"));
        m_sink = std::move(sink);
    } catch (const spdlog::spdlog_ex& error) {
        throw ETraceConfiguration(u"Trace file: "_s + QString::fromLocal8Bit(error.what()));
    }
}

void FileTraceSink::Write(const TraceEntry& entry)
{
    try {
        // A failed Clear leaves no file open; each entry tries again.
        if (!m_sink)
            Open(false);
    } catch (const ETraceConfiguration& error) {
        throw ETraceOutput(error.Message());
    }

    QByteArray text = TraceLineText(entry);
    if (m_maxBytes > 0)
        FitInto(text, m_maxBytes - 1); // the line break that spdlog adds counts too
    const spdlog::details::log_msg message(spdlog::string_view_t(), spdlog::level::info,
                                           spdlog::string_view_t(text.constData(), std::size_t(text.size())));
    try {
        m_sink->log(message);
        m_sink->flush();
    } catch (const spdlog::spdlog_ex& error) {
        throw ETraceOutput(u"Trace file \"%1\": %2"_s.arg(m_fileName, QString::fromLocal8Bit(error.what())));
    }
}

void FileTraceSink::Clear()
{
    try {
        Open(true);
    } catch (const ETraceConfiguration& error) {
        throw ETraceOutput(error.Message());
    }
}
