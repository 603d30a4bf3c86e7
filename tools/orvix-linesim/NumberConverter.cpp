// SPDX-License-Identifier: GPL-3.0-or-later

#include "NumberConverter.h"

#include "LineSimError.h"

#include <algorithm>
#include <optional>

namespace {

bool isDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

QString validatedCode(const QString& code, const char* what, bool dropNationalPrefix)
{
    QString digits = code.trimmed();
    if (dropNationalPrefix) {
        while (digits.startsWith(u'0'))
            digits.remove(0, 1);
    }
    if (!isDigits(digits) || digits.startsWith(u'0') || digits.size() > 6) {
        throw SoftphoneError(SoftphoneError::Kind::InvalidArgument,
                             QStringLiteral("invalid %1 '%2' (expected up to 6 digits, not starting with 0)")
                                 .arg(QLatin1String(what), code));
    }
    return digits;
}

// Only plain numbers are converted; service codes such as "*21#" or SIP names pass through untouched.
std::optional<QString> withoutSeparators(const QString& number)
{
    QString stripped;
    stripped.reserve(number.size());
    for (QChar c : number) {
        if (c.isSpace() || c == u'-' || c == u'/' || c == u'(' || c == u')' || c == u'.')
            continue;
        stripped.append(c);
    }
    const QStringView digits = QStringView(stripped).mid(stripped.startsWith(u'+') ? 1 : 0);
    if (!isDigits(digits))
        return std::nullopt;
    return stripped;
}

} // namespace

NumberConverter::NumberConverter(const QString& countryCode, const QString& areaCode, int maxExtensionLength)
    : m_countryCode(validatedCode(countryCode, "country code", false))
    , m_areaCode(validatedCode(areaCode, "area code", true))
    , m_maxExtensionLength(maxExtensionLength)
{
    if (maxExtensionLength < 1 || maxExtensionLength > 15) {
        throw SoftphoneError(SoftphoneError::Kind::InvalidArgument,
                             QStringLiteral("invalid extension length %1 (expected 1..15)").arg(maxExtensionLength));
    }
}

QString NumberConverter::convert(int style, const QString& number) const
{
    switch (style) {
    case AsGiven:
        return number;
    case National:
        return national(number);
    case Canonical:
        return canonical(number);
    default:
        throw SoftphoneError(
            SoftphoneError::Kind::InvalidArgument,
            QStringLiteral("unknown number style %1 (0 as given, 1 national, 2 international)").arg(style));
    }
}

QString NumberConverter::canonical(const QString& number) const
{
    const std::optional<QString> stripped = withoutSeparators(number);
    if (!stripped)
        return number;
    const QString& n = *stripped;
    if (n.startsWith(u'+'))
        return n;
    if (n.startsWith(QLatin1String("00")) && n.size() > 2)
        return u'+' + n.mid(2);
    // A bare "0" or "00" is a trunk prefix without a number: nothing to convert.
    if (n.startsWith(u'0') && n.size() > 1 && !n.startsWith(QLatin1String("00")))
        return u'+' + m_countryCode + n.mid(1);
    if (n.size() > m_maxExtensionLength)
        return u'+' + m_countryCode + m_areaCode + n;
    return n;
}

QString NumberConverter::national(const QString& number) const
{
    const QString n = canonical(number);
    if (!n.startsWith(u'+'))
        return n;
    if (n.startsWith(u'+' + m_countryCode))
        return u'0' + n.mid(1 + m_countryCode.size());
    return QLatin1String("00") + n.mid(1);
}

bool NumberConverter::isExtension(const QString& number) const
{
    const std::optional<QString> stripped = withoutSeparators(number);
    return stripped && !stripped->startsWith(u'+') && stripped->size() <= m_maxExtensionLength &&
        canonical(number) == *stripped;
}
