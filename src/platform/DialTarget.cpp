// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DialTarget.h"

#include <QUrl>

namespace {

constexpr qsizetype MaxDialLength = 32;
// Longer texts are refused before any work: no link of a real number comes near.
constexpr qsizetype MaxTextLength = 512;

TDialTarget Refused(const QString& error)
{
    return {.number = {}, .error = error};
}

bool IsDialChar(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'*' || c == u'#';
}

bool IsSeparator(QChar c)
{
    return c == u' ' || c == u'-' || c == u'.' || c == u'/' || c == u'(' || c == u')' || c == u'\u00A0';
}

} // namespace

TDialTarget TDialTarget::Parse(const QString& text)
{
    if (text.size() > MaxTextLength)
        return Refused(QStringLiteral("Die Nummer ist zu lang."));
    QString rest = text.trimmed();
    const qsizetype colon = rest.indexOf(u':');
    if (colon >= 0) {
        const QString scheme = rest.left(colon).toLower();
        rest = rest.mid(colon + 1);
        if (scheme == QLatin1String("tel") || scheme == QLatin1String("callto")) {
            rest = rest.section(u';', 0, 0);
            if (rest.startsWith(QLatin1String("//")))
                rest = rest.mid(2);
        } else if (scheme == QLatin1String("sip") || scheme == QLatin1String("sips")) {
            if (!rest.contains(u'@'))
                return Refused(QStringLiteral("Der SIP-Link nennt keine Nummer."));
            rest = rest.section(u'@', 0, 0).section(u';', 0, 0);
        } else {
            return Refused(QStringLiteral("Nur tel:- und sip:-Links können gewählt werden."));
        }
    }
    // Decoded once only: "%2520" stays "%20" and is refused below.
    const QString decoded = QUrl::fromPercentEncoding(rest.toUtf8());
    QString number;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar c = decoded.at(i);
        if (IsSeparator(c))
            continue;
        if (c == u'+' && number.isEmpty() && !decoded.left(i).contains(u'+')) {
            number.append(c);
            continue;
        }
        // The text itself is not repeated: it may hold anything a web page put there.
        if (!IsDialChar(c))
            return Refused(QStringLiteral("Das ist keine wählbare Nummer: erlaubt sind Ziffern, * und #, mit einem "
                                          "+ am Anfang."));
        number.append(c);
    }
    if (number.isEmpty() || number == QLatin1String("+"))
        return Refused(QStringLiteral("Es wurde keine Nummer angegeben."));
    if (number.size() > MaxDialLength)
        return Refused(QStringLiteral("Die Nummer ist zu lang."));
    return {.number = number, .error = {}};
}
