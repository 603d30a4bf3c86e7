// SPDX-License-Identifier: GPL-3.0-or-later

#include "SipAddress.h"

#include <QUrl>

namespace {

// "%2B49" is "+49"; but an escaped control character ("%0A") stays escaped: a number never holds one,
// and raw it would break the lines of whatever logs or shows the number.
QString decodedUser(const QString& text)
{
    const QString decoded = QUrl::fromPercentEncoding(text.toUtf8());
    for (const QChar c : decoded) {
        if (c.category() == QChar::Other_Control)
            return text;
    }
    return decoded;
}

} // namespace

SipAddress SipAddress::parse(const QString& address)
{
    SipAddress result;
    QString uri = address.trimmed();
    const qsizetype open = uri.indexOf(u'<');
    const qsizetype close = uri.indexOf(u'>', open + 1);
    if (open >= 0 && close > open) {
        QString name = uri.left(open).trimmed();
        if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
            name = name.mid(1, name.size() - 2).replace(QLatin1String("\\\""), QLatin1String("\""));
        result.displayName = name;
        uri = uri.mid(open + 1, close - open - 1).trimmed();
    }
    const qsizetype colon = uri.indexOf(u':');
    if (colon < 0)
        return result;
    const QString scheme = uri.left(colon).toLower();
    QString rest = uri.mid(colon + 1);
    if (scheme == QLatin1String("tel")) {
        result.user = decodedUser(rest.section(u';', 0, 0));
        return result;
    }
    if (scheme != QLatin1String("sip") && scheme != QLatin1String("sips"))
        return result;
    rest = rest.section(u'?', 0, 0);
    const qsizetype at = rest.lastIndexOf(u'@');
    QString hostPart = rest;
    if (at >= 0) {
        // The user part may carry parameters (";phone-context=...") and a password (":secret").
        result.user = decodedUser(rest.left(at).section(u';', 0, 0).section(u':', 0, 0));
        hostPart = rest.mid(at + 1);
    }
    hostPart = hostPart.section(u';', 0, 0);
    if (hostPart.startsWith(u'['))
        result.host = hostPart.section(u']', 0, 0).mid(1).toLower();
    else
        result.host = hostPart.section(u':', 0, 0).toLower();
    return result;
}
