// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/TemplateTagScanner.h"

namespace {

bool IsIdentifierChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_';
}

} // namespace

void TTagAttributes::Append(QString name, QString value)
{
    m_items.append({std::move(name), std::move(value)});
}

QString TTagAttributes::Value(QStringView name) const
{
    for (const auto& [itemName, itemValue] : m_items) {
        if (name.compare(itemName, Qt::CaseInsensitive) == 0)
            return itemValue;
    }
    return {};
}

TTagAttributes ParseTagAttributes(QStringView text)
{
    TTagAttributes attributes;
    const qsizetype size = text.size();
    qsizetype i = 0;
    const auto skipSpace = [&] {
        while (i < size && text[i].isSpace())
            ++i;
    };
    while (true) {
        skipSpace();
        if (i >= size)
            break;
        const qsizetype nameStart = i;
        while (i < size && !text[i].isSpace() && text[i] != u'=')
            ++i;
        QString name = text.mid(nameStart, i - nameStart).toString();
        skipSpace();
        if (i >= size || text[i] != u'=') {
            attributes.Append(std::move(name), {});
            continue;
        }
        ++i;
        skipSpace();
        QString value;
        if (i < size && text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            // A value cut short by the tag's ">" runs to the end of the attribute text.
            const qsizetype end = close < 0 ? size : close;
            value = text.mid(i + 1, end - i - 1).toString();
            i = close < 0 ? size : close + 1;
        } else {
            const qsizetype valueStart = i;
            while (i < size && !text[i].isSpace())
                ++i;
            value = text.mid(valueStart, i - valueStart).toString();
        }
        attributes.Append(std::move(name), std::move(value));
    }
    return attributes;
}

qsizetype TemplateTagEnd(QStringView text, qsizetype from)
{
    bool quoted = false;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'"')
            quoted = !quoted;
        else if (text[i] == u'>' && !quoted)
            return i;
    }
    return text.indexOf(u'>', from);
}

std::optional<TTemplateTag> ReadTemplateTag(QStringView text, qsizetype position)
{
    if (position < 0 || position + 2 > text.size() || text[position] != u'<' || text[position + 1] != u'#')
        return std::nullopt;
    const qsizetype nameStart = position + 2;
    qsizetype nameEnd = nameStart;
    while (nameEnd < text.size() && IsIdentifierChar(text[nameEnd]))
        ++nameEnd;
    if (nameEnd == nameStart)
        return std::nullopt;
    const qsizetype close = TemplateTagEnd(text, nameEnd);
    if (close < 0)
        return std::nullopt;

    TTemplateTag tag;
    tag.Start = position;
    tag.Length = close + 1 - position;
    tag.Name = text.mid(nameStart, nameEnd - nameStart).toString();
    tag.Attributes = ParseTagAttributes(text.mid(nameEnd, close - nameEnd).trimmed());
    return tag;
}

QList<TTemplateTag> ScanTemplateTags(QStringView text)
{
    QList<TTemplateTag> tags;
    qsizetype position = 0;
    while ((position = text.indexOf(u"<#", position)) >= 0) {
        if (auto tag = ReadTemplateTag(text, position)) {
            position += tag->Length;
            tags.append(std::move(*tag));
        } else {
            ++position;
        }
    }
    return tags;
}
