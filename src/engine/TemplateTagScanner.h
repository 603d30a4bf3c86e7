// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

/**
 * @brief The attributes of a template tag, in the order they were written.
 *
 * Lookups ignore the case of the name and take the first attribute of a name,
 * so a hand-written "value" serves as "Value". An attribute with an empty value
 * counts as absent wherever tags are compared or keyed.
 */
class TTagAttributes
{
public:
    void Append(QString name, QString value);
    // The value of the first attribute of that name; empty when the tag has none.
    QString Value(QStringView name) const;
    const QList<std::pair<QString, QString>>& Items() const { return m_items; }

private:
    QList<std::pair<QString, QString>> m_items;
};

/**
 * @brief A placeholder tag found in a template: "<#", a name, attributes, ">".
 */
struct TTemplateTag
{
    // Position of the "<" of "<#" and length through the closing ">".
    qsizetype Start = 0;
    qsizetype Length = 0;
    QString Name;
    TTagAttributes Attributes;
};

// The tag that begins at position, or nothing when no tag begins there. A tag needs
// "<#", a name of ASCII letters, digits or underscores, and a ">" after the name;
// it ends at the first ">" outside a double-quoted value (TemplateTagEnd).
std::optional<TTemplateTag> ReadTemplateTag(QStringView text, qsizetype position);
// The ">" that ends a tag whose attributes start at from: a ">" inside a quoted
// value (Format="a>b") belongs to the value. When a quote is never closed, the
// first ">" ends the tag, so that a stray quote does not swallow the text after
// it. -1 when there is no ">".
qsizetype TemplateTagEnd(QStringView text, qsizetype from);
// Every tag of the text, in order.
QList<TTemplateTag> ScanTemplateTags(QStringView text);
// Name="value" pairs separated by white space; a value in double quotes may hold
// blanks, an unquoted one ends at the next blank, a name without "=" has an empty value.
TTagAttributes ParseTagAttributes(QStringView text);
