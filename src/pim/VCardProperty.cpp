// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/VCardProperty.h"

#include <utility>

namespace {

// Splits at each ";" that no backslash escapes; the parts keep their escapes.
QStringList SplitComponents(QStringView text)
{
    QStringList parts;
    QString part;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size()) {
            part += c;
            part += text[++i];
        } else if (c == u';') {
            parts.append(std::exchange(part, {}));
        } else {
            part += c;
        }
    }
    parts.append(part);
    return parts;
}

// "\n" and "\N" are line breaks; any other escaped character stands for itself
// ("\,", "\;", "\\", and the "\:" some writers put out).
QString Unescape(QStringView text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const QChar escaped = text[++i];
        plain += (escaped == u'n' || escaped == u'N') ? QChar(u'\n') : escaped;
    }
    return plain;
}

} // namespace

QString TVCardProperty::Text() const
{
    return Unescape(Value);
}

QStringList TVCardProperty::Components() const
{
    QStringList components;
    for (const QString& component : SplitComponents(Value))
        components.append(Unescape(component));
    return components;
}
