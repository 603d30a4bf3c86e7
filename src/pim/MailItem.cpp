// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MailItem.h"

#include <QRegularExpression>

QStringList MailAddresses(const QString& field)
{
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    QStringList addresses;
    for (const QString& part : field.split(separators, Qt::SkipEmptyParts)) {
        if (const QString address = part.trimmed(); !address.isEmpty())
            addresses << address;
    }
    return addresses;
}
