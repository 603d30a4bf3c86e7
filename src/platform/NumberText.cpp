#include "platform/NumberText.h"

#include <QString>

#include <limits>

namespace {

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<qint32> TextToInteger(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (!text.isEmpty() && text.front() == u'$') {
        text = text.mid(1);
        if (text.isEmpty() || text.size() > 8)
            return std::nullopt;
        quint32 value = 0;
        for (const QChar c : text) {
            const int digit = HexDigit(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + quint32(digit);
        }
        const auto wrapped = qint32(value);
        return negative ? qint32(0u - quint32(wrapped)) : wrapped;
    }
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

std::optional<bool> TextToBoolean(QStringView text)
{
    if (const auto number = TextToInteger(text))
        return *number != 0;
    text = text.trimmed();
    if (text.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}
