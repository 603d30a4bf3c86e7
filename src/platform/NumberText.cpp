// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/NumberText.h"

#include <QString>

#include <charconv>
#include <limits>

namespace {

// std::from_chars takes the whole text or nothing.
template <typename Number>
bool WholeNumber(std::string_view text, Number& value, int base = 10)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    return error == std::errc() && stop == end;
}

} // namespace

std::optional<qint32> DecimalToInteger(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative || (!text.empty() && text.front() == '+'))
        text.remove_prefix(1);
    // from_chars would take a second sign.
    if (text.empty() || text.size() > 10 || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    qint64 value = 0;
    if (!WholeNumber(text, value))
        return std::nullopt;
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

std::optional<qint32> TextToInteger(QStringView text)
{
    text = text.trimmed();
    // A sign, "$" and eight digits, or a sign and ten digits: anything longer, or
    // not ASCII, is no number.
    char ascii[11] = {};
    if (text.size() > qsizetype(sizeof(ascii)))
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 0x7F)
            return std::nullopt;
        ascii[i] = char(text[i].unicode());
    }
    const std::string_view number(ascii, std::size_t(text.size()));

    std::string_view hex = number;
    const bool negative = !hex.empty() && hex.front() == '-';
    if (negative || (!hex.empty() && hex.front() == '+'))
        hex.remove_prefix(1);
    if (hex.empty() || hex.front() != '$')
        return DecimalToInteger(number);
    hex.remove_prefix(1);
    quint32 value = 0;
    // An unsigned from_chars takes no sign.
    if (hex.size() > 8 || !WholeNumber(hex, value, 16))
        return std::nullopt;
    return negative ? qint32(0u - value) : qint32(value);
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
