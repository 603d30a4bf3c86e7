// SPDX-License-Identifier: GPL-3.0-or-later

#include "trace/TraceLine.h"

#include "trace/Trace.h"

#include <QString>

#include <cstdio>
#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype LevelWidth = 7;
constexpr QByteArrayView Indent = "\n    ";

QByteArrayView LevelText(TraceLevel level)
{
    switch (level) {
    case TraceLevel::Debug:
        return "Debug   ";
    case TraceLevel::Verbose:
        return "Verbose ";
    case TraceLevel::Message:
        return "Message ";
    case TraceLevel::Warning:
        return "Warning ";
    case TraceLevel::Error:
        return "Error   ";
    case TraceLevel::Fatal:
        return "Fatal   ";
    }
    return {};
}

void Append(std::string& out, QByteArrayView bytes)
{
    out.append(bytes.data(), std::size_t(bytes.size()));
}

// C0 controls but the tab, DEL and the C1 controls: a terminal that shows the file acts on them.
// Without branches, so that the loop over a text that asks this vectorises.
bool IsEscaped(char16_t c)
{
    return (int(c < 0x20) & int(c != u'\t')) | int(char16_t(c - 0x7f) <= 0x20);
}

QString Escaped(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size() + 16);
    for (const QChar c : text) {
        if (!IsEscaped(c.unicode()))
            escaped += c;
        else if (c == u'\r')
            escaped += u"\\r"_s;
        else if (c == u'\n')
            escaped += u"\\n"_s;
        else
            escaped += u"\\x"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0');
    }
    return escaped;
}

// ASCII is narrowed while it is checked, in one pass without an early exit that the compiler
// vectorises: most text costs no conversion of its own. Other text is written again.
void AppendUtf8(std::string& out, QStringView text)
{
    const char16_t* source = text.utf16();
    const std::size_t length = std::size_t(text.size());
    const std::size_t start = out.size();
    out.resize(start + length);
    char* target = out.data() + start;
    char16_t any = 0;
    int control = 0;
    for (std::size_t i = 0; i < length; ++i) {
        any |= source[i];
        control |= int(IsEscaped(source[i]));
        target[i] = char(source[i]);
    }
    if (any < 0x80 && control == 0)
        return;
    out.resize(start);
    if (control != 0) {
        AppendUtf8(out, Escaped(text));
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    out.append(utf8.constData(), std::size_t(utf8.size()));
}

// The date and time down to the second change once a second: localtime_r runs only then.
struct SecondText
{
    qint64 second = std::numeric_limits<qint64>::min();
    char text[32] = {};
    int length = 0;
};

void AppendTimestamp(std::string& out, qint64 msecsSinceEpoch)
{
    thread_local SecondText cached;
    qint64 second = msecsSinceEpoch / 1000;
    int millis = int(msecsSinceEpoch % 1000);
    if (millis < 0) {
        --second;
        millis += 1000;
    }
    if (second != cached.second) {
        const std::time_t seconds = std::time_t(second);
        std::tm local {};
        localtime_r(&seconds, &local);
        cached.length =
            std::snprintf(cached.text, sizeof cached.text, "%04d-%02d-%02d %02d:%02d:%02d.", local.tm_year + 1900,
                          local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        cached.second = second;
    }
    const char digits[4] = {char('0' + millis / 100), char('0' + millis / 10 % 10), char('0' + millis % 10), ' '};
    out.append(cached.text, std::size_t(cached.length));
    out.append(digits, sizeof digits);
}

void AppendLevel(std::string& out, TraceLevel level)
{
    const QByteArrayView known = LevelText(level);
    if (!known.isEmpty()) {
        Append(out, known);
        return;
    }
    Append(out, QString(u"Level"_s + QString::number(int(level))).leftJustified(LevelWidth).toUtf8());
    out += ' ';
}

void AppendValueLines(std::string& out, QStringView value)
{
    if (value.isEmpty())
        return;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = value.indexOf(u'\n', start);
        Append(out, Indent);
        AppendUtf8(out, value.sliced(start, (end < 0 ? value.size() : end) - start));
        if (end < 0)
            return;
        start = end + 1;
    }
}

bool IsBlockValue(const TraceEntry& entry)
{
    return entry.kind == TraceKind::Object || entry.kind == TraceKind::Strings || entry.value.contains(u'\n');
}

} // namespace

void AppendTraceLine(std::string& out, const TraceEntry& entry)
{
    AppendTimestamp(out, entry.msecsSinceEpoch);
    AppendLevel(out, entry.level);
    switch (entry.kind) {
    case TraceKind::EnterMethod:
        Append(out, "-> ");
        AppendUtf8(out, entry.title);
        break;
    case TraceKind::LeaveMethod:
        Append(out, "<- ");
        AppendUtf8(out, entry.title);
        break;
    case TraceKind::Separator:
        out.append(60, '-');
        break;
    default:
        AppendUtf8(out, entry.title);
        if (IsBlockValue(entry)) {
            if (!entry.valueLines.isEmpty())
                Append(out, entry.valueLines);
            else
                AppendValueLines(out, entry.value);
        } else if (!entry.value.isEmpty() || entry.kind == TraceKind::Value) {
            Append(out, " = ");
            AppendUtf8(out, entry.value);
        }
        break;
    }
}

QByteArray TraceLineText(const TraceEntry& entry)
{
    std::string text;
    AppendTraceLine(text, entry);
    return QByteArray::fromStdString(text);
}

QByteArray TraceValueLines(QStringView value)
{
    std::string lines;
    lines.reserve(std::size_t(value.size()) * 5 / 4 + std::size_t(Indent.size()));
    AppendValueLines(lines, value);
    return QByteArray::fromStdString(lines);
}
