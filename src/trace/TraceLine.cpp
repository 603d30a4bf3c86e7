#include "trace/TraceLine.h"

#include "trace/Trace.h"

#include <QStringList>

#include <cstdio>
#include <ctime>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype LevelWidth = 7;

QString LevelName(TraceLevel level)
{
    switch (level) {
    case TraceLevel::Debug:
        return u"Debug"_s;
    case TraceLevel::Verbose:
        return u"Verbose"_s;
    case TraceLevel::Message:
        return u"Message"_s;
    case TraceLevel::Warning:
        return u"Warning"_s;
    case TraceLevel::Error:
        return u"Error"_s;
    case TraceLevel::Fatal:
        return u"Fatal"_s;
    }
    return u"Level"_s + QString::number(int(level));
}

// localtime_r rather than QDateTime: it is several times cheaper and this runs for every entry.
QString LocalTimestamp(qint64 msecsSinceEpoch)
{
    const std::time_t seconds = std::time_t(msecsSinceEpoch / 1000);
    const int millis = int(msecsSinceEpoch % 1000);
    std::tm local {};
    localtime_r(&seconds, &local);
    char text[32];
    const int length =
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
    return QString::fromLatin1(text, length);
}

bool IsBlockValue(const TraceEntry& entry)
{
    return entry.kind == TraceKind::Object || entry.kind == TraceKind::Strings || entry.value.contains(u'\n');
}

} // namespace

QByteArray TraceLineText(const TraceEntry& entry)
{
    QString text =
        LocalTimestamp(entry.msecsSinceEpoch) + u' ' + LevelName(entry.level).leftJustified(LevelWidth) + u' ';
    switch (entry.kind) {
    case TraceKind::EnterMethod:
        text += u"-> "_s + entry.title;
        break;
    case TraceKind::LeaveMethod:
        text += u"<- "_s + entry.title;
        break;
    case TraceKind::Separator:
        text += QString(60, u'-');
        break;
    default:
        text += entry.title;
        if (IsBlockValue(entry)) {
            if (!entry.value.isEmpty()) {
                const QStringList lines = entry.value.split(u'\n');
                for (const QString& line : lines)
                    text += u"\n    "_s + line;
            }
        } else if (!entry.value.isEmpty() || entry.kind == TraceKind::Value) {
            text += u" = "_s + entry.value;
        }
        break;
    }
    return text.toUtf8();
}
