// SPDX-License-Identifier: GPL-3.0-or-later

#include "Printable.h"

QString printable(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            result += QLatin1String("\\\\");
        else if (c.category() == QChar::Other_Control)
            result += QLatin1String("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            result += c;
    }
    return result;
}
