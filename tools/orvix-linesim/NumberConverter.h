// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief Turns telephone numbers into the softphone's number styles.
 *
 * Style 2 is the canonical form every number is stored and compared in:
 * "+<country code><rest>" without separators. Internal extensions (at most
 * maxExtensionLength digits) and anything that is not a plain number stay as
 * they are. Style 1 is the national form derived from it, style 0 the number
 * as given.
 */
class NumberConverter
{
public:
    enum Style
    {
        AsGiven = 0,
        National = 1,
        Canonical = 2
    };

    // Codes are digits only; a national prefix in front of the area code ("030") is dropped.
    // Throws SoftphoneError (InvalidArgument) for codes or lengths that make no sense.
    NumberConverter(const QString& countryCode = QStringLiteral("49"), const QString& areaCode = QStringLiteral("30"),
                    int maxExtensionLength = 4);

    const QString& countryCode() const { return m_countryCode; }
    const QString& areaCode() const { return m_areaCode; }
    int maxExtensionLength() const { return m_maxExtensionLength; }

    // Throws SoftphoneError (InvalidArgument) for an unknown style.
    QString convert(int style, const QString& number) const;
    QString canonical(const QString& number) const;
    QString national(const QString& number) const;
    // A short all-digit number that the canonical form leaves alone.
    bool isExtension(const QString& number) const;

private:
    QString m_countryCode;
    QString m_areaCode;
    int m_maxExtensionLength;
};
