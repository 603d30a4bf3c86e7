// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/HtmlHighlighter.h"

#include "engine/TemplateTagScanner.h"

#include <QColor>
#include <QFont>

namespace {

// The block state holds the state a line ends in and, inside a placeholder tag, the
// state to go back to after it.
constexpr int ReturnShift = 8;

bool IsIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Whether a placeholder tag begins at position: "<#" and a name character. Its ">"
// may come on a later line.
bool StartsTemplateTag(QStringView text, qsizetype position)
{
    return text.mid(position).startsWith(u"<#") && position + 2 < text.size() && IsIdentifierChar(text[position + 2]);
}

// The first placeholder tag at or after from and before limit (-1: to the end); -1 when none.
qsizetype NextTemplateTag(QStringView text, qsizetype from, qsizetype limit)
{
    const qsizetype end = limit < 0 ? text.size() : limit;
    for (qsizetype at = text.indexOf(u"<#", from); at >= 0 && at < end; at = text.indexOf(u"<#", at + 1)) {
        if (StartsTemplateTag(text, at))
            return at;
    }
    return -1;
}

QTextCharFormat Format(const QColor& color, bool bold = false, bool italic = false)
{
    QTextCharFormat format;
    format.setForeground(color);
    if (bold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

} // namespace

THtmlHighlighter::THtmlHighlighter(QTextDocument* document, TTemplateKind kind)
    : QSyntaxHighlighter(document)
    , m_markup(kind == TTemplateKind::Html)
    , m_tag(Format(QColor(0x00, 0x33, 0x99), true))
    , m_attribute(Format(QColor(0x99, 0x33, 0x00)))
    , m_value(Format(QColor(0x00, 0x7a, 0x00)))
    , m_comment(Format(QColor(0x80, 0x80, 0x80), false, true))
    , m_templateTag(Format(QColor(0x80, 0x00, 0x80), true))
{
    m_templateTag.setBackground(QColor(0xff, 0xf2, 0xb3));
}

void THtmlHighlighter::highlightBlock(const QString& text)
{
    const int previous = previousBlockState();
    auto state = previous < 0 ? Text : TState(previous % ReturnShift);
    auto afterTemplate = previous < 0 ? Text : TState(previous / ReturnShift);
    qsizetype i = 0;
    while (i < text.size())
        i = HighlightState(text, i, state, afterTemplate);
    setCurrentBlockState(state + ReturnShift * afterTemplate);
}

// Colours what the state covers from i on and returns where the next state begins.
qsizetype THtmlHighlighter::HighlightState(const QString& text, qsizetype i, TState& state, TState& afterTemplate)
{
    const qsizetype size = text.size();
    // In text, comments and quoted values a placeholder tag may begin before the
    // state ends: it is coloured as itself, and the state goes on after it.
    const auto runUntil = [&](qsizetype end, qsizetype endLength, const QTextCharFormat* format, TState next) {
        const qsizetype placeholder = NextTemplateTag(text, i, end);
        if (placeholder >= 0) {
            if (format)
                setFormat(int(i), int(placeholder - i), *format);
            afterTemplate = state;
            state = TemplateTag;
            return placeholder;
        }
        const qsizetype stop = end < 0 ? size : end + endLength;
        if (format)
            setFormat(int(i), int(stop - i), *format);
        if (end >= 0)
            state = next;
        return stop;
    };

    switch (state) {
    case TemplateTag: {
        // Where the tag ends for the filling too (a tag over several lines ends at its first ">").
        const qsizetype close = TemplateTagEnd(text, i);
        const qsizetype stop = close < 0 ? size : close + 1;
        setFormat(int(i), int(stop - i), m_templateTag);
        if (close >= 0)
            state = afterTemplate;
        return stop;
    }
    case Comment:
        return runUntil(text.indexOf(u"-->", i), 3, &m_comment, Text);
    case DoubleQuoted:
        return runUntil(text.indexOf(u'"', i), 1, &m_value, InTag);
    case SingleQuoted:
        return runUntil(text.indexOf(u'\'', i), 1, &m_value, InTag);
    case Text: {
        qsizetype open = text.indexOf(u'<', i);
        if (!m_markup) {
            while (open >= 0 && !StartsTemplateTag(text, open))
                open = text.indexOf(u'<', open + 1);
        }
        if (open < 0)
            return size;
        if (StartsTemplateTag(text, open)) {
            afterTemplate = Text;
            state = TemplateTag;
            return open;
        }
        if (QStringView(text).mid(open).startsWith(u"<!--")) {
            setFormat(int(open), 4, m_comment);
            state = Comment;
            return open + 4;
        }
        qsizetype end = open + 1;
        if (end < size && (text[end] == u'/' || text[end] == u'!' || text[end] == u'?'))
            ++end;
        if (end >= size || !text[end].isLetter())
            return open + 1;
        while (end < size && (text[end].isLetterOrNumber() || text[end] == u'-' || text[end] == u':'))
            ++end;
        setFormat(int(open), int(end - open), m_tag);
        state = InTag;
        return end;
    }
    case InTag: {
        const QChar c = text[i];
        if (StartsTemplateTag(text, i)) {
            afterTemplate = InTag;
            state = TemplateTag;
            return i;
        }
        if (c == u'>' || (c == u'/' && i + 1 < size && text[i + 1] == u'>')) {
            const qsizetype length = c == u'>' ? 1 : 2;
            setFormat(int(i), int(length), m_tag);
            state = Text;
            return i + length;
        }
        if (c == u'"' || c == u'\'') {
            setFormat(int(i), 1, m_value);
            state = c == u'"' ? DoubleQuoted : SingleQuoted;
            return i + 1;
        }
        if (c.isSpace() || c == u'=' || c == u'/')
            return i + 1;
        qsizetype end = i;
        while (end < size && !text[end].isSpace() && !QStringView(u"=>\"'<").contains(text[end]))
            ++end;
        // A name after "=" is an unquoted value.
        qsizetype before = i - 1;
        while (before >= 0 && text[before].isSpace())
            --before;
        const bool value = before >= 0 && text[before] == u'=';
        setFormat(int(i), int(std::max(end - i, qsizetype(1))), value ? m_value : m_attribute);
        return std::max(end, i + 1);
    }
    }
    return size;
}
