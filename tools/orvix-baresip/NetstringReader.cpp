// SPDX-License-Identifier: GPL-3.0-or-later

#include "NetstringReader.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Digits enough for MaxFrameLength, and one more to tell an overlong length.
constexpr qsizetype MaxLengthDigits = 8;

} // namespace

NetstringReader::Result NetstringReader::feed(const QByteArray& data)
{
    m_buffer.append(data);
    Result result;
    while (true) {
        qsizetype start = 0;
        while (start < m_buffer.size() && isSpace(m_buffer[start]))
            ++start;
        m_buffer.remove(0, start);
        if (m_buffer.isEmpty())
            break;

        qsizetype digits = 0;
        while (digits < m_buffer.size() && digits <= MaxLengthDigits && isDigit(m_buffer[digits]))
            ++digits;
        if (digits == m_buffer.size() && digits <= MaxLengthDigits)
            break; // the length is still arriving
        if (digits == 0 || digits > MaxLengthDigits || m_buffer[digits] != ':') {
            result.errors.append(
                QStringLiteral("not a frame length: \"%1\"").arg(QString::fromUtf8(m_buffer.left(20)).toHtmlEscaped()));
            resynchronise();
            continue;
        }
        const qsizetype length = m_buffer.left(digits).toLongLong();
        if (length > MaxFrameLength) {
            result.errors.append(QStringLiteral("frame of %1 bytes is longer than %2").arg(length).arg(MaxFrameLength));
            resynchronise();
            continue;
        }
        const qsizetype end = digits + 1 + length;
        if (m_buffer.size() <= end)
            break; // the payload or its comma is still arriving
        if (m_buffer[end] != ',') {
            result.errors.append(QStringLiteral("frame of %1 bytes does not end with ','").arg(length));
            resynchronise();
            continue;
        }
        result.frames.append(m_buffer.mid(digits + 1, length));
        m_buffer.remove(0, end + 1);
    }
    return result;
}

QByteArray NetstringReader::encode(const QByteArray& payload)
{
    return QByteArray::number(payload.size()) + ':' + payload + ',';
}

void NetstringReader::resynchronise()
{
    // Every frame baresip sends holds a JSON object, so the next frame starts at "<digits>:{";
    // digits at the very end may be the start of one that is still arriving.
    const qsizetype size = m_buffer.size();
    for (qsizetype p = 1; p < size; ++p) {
        if (!isDigit(m_buffer[p]) || isDigit(m_buffer[p - 1]))
            continue;
        qsizetype q = p;
        while (q < size && isDigit(m_buffer[q]))
            ++q;
        if (q == size || (m_buffer[q] == ':' && (q + 1 == size || m_buffer[q + 1] == '{'))) {
            m_buffer.remove(0, p);
            return;
        }
    }
    m_buffer.clear();
}
