// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MailtoLink.h"

#include <QUrl>

namespace {

QString Encoded(QString value, bool addresses)
{
    value.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    value.replace(u'\n', QStringLiteral("\r\n"));
    return QString::fromLatin1(QUrl::toPercentEncoding(value, addresses ? "@," : ""));
}

} // namespace

QString MailtoLink(const QStringList& to, const QList<TMailtoField>& fields)
{
    QString link = QStringLiteral("mailto:") + Encoded(to.join(u','), true);
    QChar separator = u'?';
    for (const TMailtoField& field : fields) {
        if (field.Value.isEmpty())
            continue;
        link += separator + field.Name + u'=' + Encoded(field.Value, field.Addresses);
        separator = u'&';
    }
    return link;
}
