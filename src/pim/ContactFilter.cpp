// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/ContactFilter.h"

#include "platform/KestrunError.h"

TContactFilter TContactFilter::Parse(const QString& filter)
{
    static const QString separator = QStringLiteral("] = \"");
    const qsizetype fieldEnd = filter.indexOf(separator);
    const qsizetype valueStart = fieldEnd + separator.size();
    if (!filter.startsWith(u'[') || fieldEnd < 2 || !filter.endsWith(u'"') || filter.size() <= valueStart ||
        filter.left(fieldEnd).contains(u']'))
        throw EKestrunError(QStringLiteral("The contact filter %1 is not of the form [Field] = \"value\"").arg(filter));
    return {filter.mid(1, fieldEnd - 1), filter.mid(valueStart, filter.size() - 1 - valueStart)};
}
